<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>CAdvancedSetupDlg</name>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="65" />
        <source>Advanced Setup</source>
        <translation>進階設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="112" />
        <source>+Panel</source>
        <translation>+顯示屏</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="113" />
        <source>-Panel</source>
        <translation>-顯示屏</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="118" />
        <source>Panel list :</source>
        <translation>顯示屏列表：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="123" />
        <source>Controller:</source>
        <translation>控制卡：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="124" />
        <source>Color type:</source>
        <translation>顏色類型：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="125" />
        <source>Width(px):</source>
        <translation>寬度(像素)：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="126" />
        <source>Height(px):</source>
        <translation>高度(像素)：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="127" />
        <source>Data polarity:</source>
        <translation>資料極性：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="128" />
        <source>OE polarity:</source>
        <translation>OE極性：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="129" />
        <source>Freq:</source>
        <translation>頻率：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="130" />
        <source>Blacking:</source>
        <translation>消隱：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="131" />
        <source>Row order:</source>
        <translation>行順序：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="132" />
        <source>Row encoder:</source>
        <translation>行譯碼：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="133" />
        <source>Mirror 8bit:</source>
        <translation>8位鏡像：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="134" />
        <source>Mirror up-down:</source>
        <translation>上下鏡像：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="135" />
        <source>Pixels:</source>
        <translation>像素：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="139" />
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="160" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="140" />
        <source>Communication</source>
        <translation>通訊</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="145" />
        <source>Scan config</source>
        <translation>掃描配置</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="147" />
        <source>Scan type:</source>
        <translation>掃描方式：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="148" />
        <source>Warp mode:</source>
        <translation>折行方向：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="149" />
        <source>Warp num:</source>
        <translation>折行次數：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="150" />
        <source>Warp bit:</source>
        <translation>折行位數：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/advanced_setup_dlg.cpp" line="161" />
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CAnimatePage</name>
    <message>
        <location filename="../../editors/animate_page.cpp" line="21" />
        <source>Animate</source>
        <translation>動畫</translation>
    </message>
    <message>
        <location filename="../../editors/animate_page.cpp" line="23" />
        <source>Type:</source>
        <translation>類型：</translation>
    </message>
    <message>
        <location filename="../../editors/animate_page.cpp" line="24" />
        <source>Max step:</source>
        <translation>最大步數：</translation>
    </message>
    <message>
        <location filename="../../editors/animate_page.cpp" line="25" />
        <source>Hold 1:</source>
        <translation>停留1：</translation>
    </message>
    <message>
        <location filename="../../editors/animate_page.cpp" line="26" />
        <source>Hold 2:</source>
        <translation>停留2：</translation>
    </message>
</context>
<context>
    <name>CBrightnessDlg</name>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="67" />
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="72" />
        <source>Current brightness is: %1 </source>
        <translation>目前亮度：%1 </translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="94" />
        <source>Value</source>
        <translation>數值</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="105" />
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="108" />
        <source>Value:</source>
        <translation>數值：</translation>
    </message>
</context>
<context>
    <name>CClockPage</name>
    <message>
        <location filename="../../editors/clock_page.cpp" line="35" />
        <source>Dial plate</source>
        <translation>錶盤</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="42" />
        <source>H dot:</source>
        <translation>時點：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="42" />
        <source>M dot:</source>
        <translation>分點：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="42" />
        <source>Hour:</source>
        <translation>時針：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="43" />
        <source>Min:</source>
        <translation>分針：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="43" />
        <source>Sec:</source>
        <translation>秒針：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="81" />
        <source>Static text</source>
        <translation>靜態文字</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="90" />
        <source>Text:</source>
        <translation>文字：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="92" />
        <source>Font:</source>
        <translation>字型：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="94" />
        <source>Color:</source>
        <translation>顏色：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="96" />
        <source>Size:</source>
        <translation>大小：</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="140" />
        <source>Time diff</source>
        <translation>時差</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="149" />
        <source>H</source>
        <translation>時</translation>
    </message>
    <message>
        <location filename="../../editors/clock_page.cpp" line="151" />
        <source>M</source>
        <translation>分</translation>
    </message>
</context>
<context>
    <name>CCommSetupDlg</name>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="45" />
        <source>Communication Setup</source>
        <translation>通訊設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="58" />
        <source>COM(RS232)</source>
        <translation>序列埠(RS232)</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="60" />
        <source>Net</source>
        <translation>網路</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="78" />
        <source>COM Port:</source>
        <translation>序列埠：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="79" />
        <source>Baudrate:</source>
        <translation>鮑率：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="82" />
        <source>Remote IP:</source>
        <translation>遠端IP：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="83" />
        <source>Remote Port:</source>
        <translation>遠端連接埠：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="85" />
        <source>Panel ID:</source>
        <translation>屏號：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="86" />
        <source>Timeout:</source>
        <translation>逾時時間：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="87" />
        <source>Package:</source>
        <translation>封包大小：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="92" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="93" />
        <source>Config...</source>
        <translation>組態...</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="94" />
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <location filename="../../setup_ui/comm_setup_dlg.cpp" line="95" />
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CCountdownPage</name>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="35" />
        <source>Countdown</source>
        <translation>倒計時</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="38" />
        <source>Format:</source>
        <translation>格式：</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="44" />
        <source>Day</source>
        <translation>天</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="44" />
        <source>Hour</source>
        <translation>時</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="45" />
        <source>Min</source>
        <translation>分</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="45" />
        <source>Sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="81" />
        <source>More options</source>
        <translation>更多選項</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="100" />
        <source>Static text:</source>
        <translation>靜態文字：</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="103" />
        <source>Font:</source>
        <translation>字型：</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="106" />
        <source>Target:</source>
        <translation>目標時間：</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="109" />
        <source>Type:</source>
        <translation>類型：</translation>
    </message>
    <message>
        <location filename="../../editors/countdown_page.cpp" line="111" />
        <source>Size:</source>
        <translation>大小：</translation>
    </message>
    <message>
        <source>Target time</source>
        <translation>目標時間</translation>
    </message>
</context>
<context>
    <name>CDateTimePage</name>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="37" />
        <source>Single line</source>
        <translation>單行</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="40" />
        <source>Multi-line</source>
        <translation>多行</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="52" />
        <source>Size:</source>
        <translation>大小：</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="54" />
        <source>Order:</source>
        <translation>順序：</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="56" />
        <source>Time diff:</source>
        <translation>時差：</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="60" />
        <source>H</source>
        <translation>時</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="62" />
        <source>M</source>
        <translation>分</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="90" />
        <source>More options</source>
        <translation>更多選項</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="96" />
        <source>Text</source>
        <translation>文字</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="96" />
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="97" />
        <source>Week</source>
        <translation>星期</translation>
    </message>
    <message>
        <location filename="../../editors/datetime_page.cpp" line="98" />
        <source>Time</source>
        <translation>時間</translation>
    </message>
</context>
<context>
    <name>CDeliveryHistoryDialog</name>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="77" />
        <source>Delivery History</source>
        <translation>傳送記錄</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="78" />
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="78" />
        <source>Project</source>
        <translation>專案</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="78" />
        <source>Screen</source>
        <translation>顯示屏</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="78" />
        <source>Link</source>
        <translation>連線</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="78" />
        <source>Card</source>
        <translation>控制卡</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="79" />
        <source>Bytes</source>
        <translation>位元組</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="79" />
        <source>Result</source>
        <translation>結果</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="79" />
        <source>Error</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="79" />
        <source>SHA-256</source>
        <translation>SHA-256</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="80" />
        <source>Deliveries</source>
        <translation>傳送記錄</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="81" />
        <source>Only this project</source>
        <translation>僅本專案</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="82" />
        <source>Copy SHA-256</source>
        <translation>複製 SHA-256</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="83" />
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="97" />
        <source>Sent</source>
        <translation>已傳送</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="100" />
        <source>Failed</source>
        <translation>失敗</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="103" />
        <source>Cancelled</source>
        <translation>已取消</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="107" />
        <source>(untitled)</source>
        <translation>（未命名）</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="134" />
        <source>No deliveries yet.</source>
        <translation>尚無傳送記錄。</translation>
    </message>
    <message>
        <location filename="../dialogs/delivery_history_dialog.cpp" line="136" />
        <source>%1 deliveries, the newest last.</source>
        <translation>共 %1 次傳送，最新的在最後。</translation>
    </message>
</context>
<context>
    <name>CEarlierVersionsDialog</name>
    <message>
        <source>Restore Earlier Version</source>
        <translation>還原早期版本</translation>
    </message>
    <message>
        <source>No earlier version of %1 is kept.</source>
        <translation>沒有保存 %1 的早期版本。</translation>
    </message>
    <message>
        <source>Earlier versions of %1, newest first. Open takes the chosen one as a new project; the file stays as it is.</source>
        <translation>%1 的早期版本，最新的在前。「開啟」將所選版本作為新專案開啟；檔案本身保持不變。</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Earlier versions</source>
        <translation>早期版本</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 位元組</translation>
    </message>
</context>
<context>
    <name>CExportDialog</name>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="87" />
        <source>Export To USB Disk</source>
        <translation>匯出到隨身碟</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="88" />
        <source>DIR:</source>
        <translation>目錄：</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="89" />
        <source>Refresh</source>
        <translation>重新整理</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="90" />
        <source>Options</source>
        <translation>選項</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="91" />
        <source>Include panel parameters</source>
        <translation>包含顯示屏參數</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="92" />
        <source>Sync timer, adjust</source>
        <translation>同步時間，調整</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="93" />
        <source>second(s)</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="94" />
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="95" />
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="96" />
        <source>Help</source>
        <translation>說明</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="111" />
        <source>Detected USB disk.</source>
        <translation>已偵測到隨身碟。</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="113" />
        <source>No USB disk be found.</source>
        <translation>找不到隨身碟。</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="115" />
        <source>Failed on create file.</source>
        <translation>建立檔案失敗。</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="117" />
        <source>Failed on write file.</source>
        <translation>寫入檔案失敗。</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="119" />
        <source>Save project succeed.</source>
        <translation>專案儲存成功。</translation>
    </message>
    <message>
        <location filename="../dialogs/export_dialog.cpp" line="121" />
        <source>This function is limited to professionals, continue?</source>
        <translation>此功能僅供專業人員使用，是否繼續？</translation>
    </message>
    <message>
        <source>Export into a folder</source>
        <translation>匯出到資料夾</translation>
    </message>
    <message>
        <source>Folder...</source>
        <translation>資料夾...</translation>
    </message>
    <message>
        <source>The files go into the chosen folder.</source>
        <translation>檔案將寫入所選資料夾。</translation>
    </message>
</context>
<context>
    <name>CFirmwareDlg</name>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="44" />
        <location filename="../../setup_ui/firmware_dlg.cpp" line="84" />
        <source>Firmware Update</source>
        <translation>韌體更新</translation>
    </message>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="53" />
        <source>Browse...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="55" />
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="57" />
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="63" />
        <source>File:</source>
        <translation>檔案：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/firmware_dlg.cpp" line="66" />
        <source>Password:</source>
        <translation>密碼：</translation>
    </message>
</context>
<context>
    <name>CImagePage</name>
    <message>
        <location filename="../../editors/image_page.cpp" line="37" />
        <source>Browse...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="40" />
        <source>Preview</source>
        <translation>預覽</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="43" />
        <source>Image</source>
        <translation>圖片</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="45" />
        <source>Remove color:</source>
        <translation>去除顏色：</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="48" />
        <source>Pixel limit:</source>
        <translation>像素閾值：</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="50" />
        <source>Speed:</source>
        <translation>速度：</translation>
    </message>
    <message>
        <location filename="../../editors/image_page.cpp" line="53" />
        <source>File path:</source>
        <translation>檔案路徑：</translation>
    </message>
    <message>
        <source>Color to remove</source>
        <translation>要去除的顏色</translation>
    </message>
    <message>
        <source>Color tolerance</source>
        <translation>顏色容差</translation>
    </message>
    <message>
        <source>Speed value</source>
        <translation>速度值</translation>
    </message>
</context>
<context>
    <name>CLeftView</name>
    <message>
        <source>Project</source>
        <translation>專案</translation>
    </message>
</context>
<context>
    <name>CLineSpaceDlg</name>
    <message>
        <location filename="../../editors/line_space_dlg.cpp" line="70" />
        <source>Line space</source>
        <translation>行距</translation>
    </message>
    <message>
        <location filename="../../editors/line_space_dlg.cpp" line="71" />
        <source>Customer line space</source>
        <translation>自訂行距</translation>
    </message>
    <message>
        <location filename="../../editors/line_space_dlg.cpp" line="72" />
        <source>Line space:</source>
        <translation>行距：</translation>
    </message>
    <message>
        <location filename="../../editors/line_space_dlg.cpp" line="73" />
        <source>Top space:</source>
        <translation>頂部間距：</translation>
    </message>
</context>
<context>
    <name>CLoadImageDialog</name>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="71" />
        <location filename="../../editors/load_image_dialog.cpp" line="77" />
        <source>Load Image</source>
        <translation>載入圖片</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="72" />
        <source>Browse...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="78" />
        <source>Images (%1)</source>
        <translation>圖片 (%1)</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="104" />
        <source>%1 x %2 pixels, shown at %3 x %4</source>
        <translation>%1 x %2 像素，顯示為 %3 x %4</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="113" />
        <source>%1 frames, delays (ms): %2</source>
        <translation>%1 幀，延遲 (ms)：%2</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="73" />
        <source>Dither to the sign&apos;s colours</source>
        <translation>抖動處理為顯示屏的顏色</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="73" />
        <source>Photos keep their tones as a mix of lit and dark LEDs; the dithered picture is saved beside the project</source>
        <translation>照片的色調以亮滅交錯的 LED 保留；抖動處理後的圖片儲存在專案檔旁</translation>
    </message>
    <message>
        <location filename="../../editors/load_image_dialog.cpp" line="73" />
        <source>Picture as the sign shows it</source>
        <translation>顯示屏上顯示的圖片</translation>
    </message>
    <message>
        <source>Picture file</source>
        <translation>圖片檔案</translation>
    </message>
</context>
<context>
    <name>CLumivantDoc</name>
    <message>
        <source>%1 (sent to the panel)</source>
        <translation>%1（已傳送到顯示屏）</translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation>重新命名 %1</translation>
    </message>
    <message>
        <source>Change the size or place of %1</source>
        <translation>變更 %1 的大小或位置</translation>
    </message>
    <message>
        <source>Change the effect of %1</source>
        <translation>變更 %1 的特效</translation>
    </message>
    <message>
        <source>Change %1</source>
        <translation>變更 %1</translation>
    </message>
    <message>
        <source>Add %1</source>
        <translation>新增 %1</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>刪除 %1</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <location filename="../frame_actions.cpp" line="19" />
        <source>&amp;New</source>
        <translation>新增(&amp;N)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="19" />
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="21" />
        <source>&amp;Open...</source>
        <translation>開啟(&amp;O)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="22" />
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="23" />
        <source>&amp;Save</source>
        <translation>儲存(&amp;S)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="23" />
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="25" />
        <source>Save &amp;As...</source>
        <translation>另存新檔(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="27" />
        <source>E&amp;xit</source>
        <translation>結束(&amp;X)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="29" />
        <source>&amp;Undo</source>
        <translation>復原(&amp;U)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="31" />
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="33" />
        <location filename="../frame_actions.cpp" line="34" />
        <location filename="../main_frame.cpp" line="112" />
        <source>Add Program</source>
        <translation>新增節目</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="35" />
        <location filename="../frame_actions.cpp" line="36" />
        <location filename="../main_frame.cpp" line="113" />
        <source>Add Window</source>
        <translation>新增視窗</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="37" />
        <location filename="../frame_actions.cpp" line="38" />
        <location filename="../main_frame.cpp" line="114" />
        <source>Add RTF</source>
        <translation>新增文字</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="39" />
        <location filename="../frame_actions.cpp" line="40" />
        <location filename="../main_frame.cpp" line="115" />
        <source>Add Image</source>
        <translation>新增圖片</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="41" />
        <location filename="../frame_actions.cpp" line="42" />
        <location filename="../main_frame.cpp" line="116" />
        <source>Add Clock</source>
        <translation>新增時鐘</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="43" />
        <location filename="../frame_actions.cpp" line="44" />
        <location filename="../main_frame.cpp" line="117" />
        <source>Add Datetime</source>
        <translation>新增時間</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="45" />
        <location filename="../frame_actions.cpp" line="46" />
        <source>Add Animate</source>
        <translation>新增動畫</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="47" />
        <location filename="../frame_actions.cpp" line="48" />
        <source>Add Temperature</source>
        <translation>新增溫度</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="49" />
        <location filename="../frame_actions.cpp" line="50" />
        <source>Add Countdown</source>
        <translation>新增倒計時</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="51" />
        <location filename="../frame_actions.cpp" line="52" />
        <source>Add Table</source>
        <translation>新增表格</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="53" />
        <source>Delete Current Object</source>
        <translation>刪除目前物件</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="54" />
        <location filename="../main_frame.cpp" line="110" />
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="55" />
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="56" />
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="57" />
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="58" />
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="59" />
        <source>Export To USB Disk (*.rzu)...</source>
        <translation>匯出到USB隨身碟 (*.rzu)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="60" />
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="61" />
        <source>Send All Selected To Panel</source>
        <translation>傳送到所有選取的顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="62" />
        <source>Send All</source>
        <translation>全部傳送</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="63" />
        <source>Send Sel</source>
        <translation>傳送選取</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="64" />
        <source>Send Selected</source>
        <translation>傳送選取</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="65" />
        <source>Search Panel</source>
        <translation>搜尋顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="66" />
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="67" />
        <source>Panel Setup...</source>
        <translation>顯示屏設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="69" />
        <source>Advanced Setup...</source>
        <translation>進階設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="71" />
        <source>Communication Setup...</source>
        <translation>通訊設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="73" />
        <location filename="../frame_actions.cpp" line="74" />
        <source>Sync Timer</source>
        <translation>校正時間</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="75" />
        <source>Adjust Brightness...</source>
        <translation>調整亮度...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="77" />
        <source>Set Panel On/Off...</source>
        <translation>定時開關屏...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="79" />
        <source>Panel Parameter Reset</source>
        <translation>顯示屏參數重設</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="81" />
        <source>Firmware Update...</source>
        <translation>韌體更新...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="83" />
        <source>Clear Panel</source>
        <translation>清除顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="85" />
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="86" />
        <source>Simplified Chinese</source>
        <translation>簡體中文</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="88" />
        <source>Traditional Chinese</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="90" />
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="91" />
        <source>Portuguese (Brazil)(PTB)</source>
        <translation>葡萄牙語(巴西)(PTB)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="93" />
        <source>Turkish</source>
        <translation>土耳其語</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="94" />
        <source>Options...</source>
        <translation>選項...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="95" />
        <source>&amp;Toolbar</source>
        <translation>工具列(&amp;T)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="96" />
        <source>&amp;Status Bar</source>
        <translation>狀態列(&amp;S)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="98" />
        <source>&amp;About Lumivant...</source>
        <translation>關於 Lumivant(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="61" />
        <source>&amp;File</source>
        <translation>檔案(&amp;F)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="63" />
        <source>&amp;Edit</source>
        <translation>編輯(&amp;E)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="64" />
        <source>&amp;Add</source>
        <translation>新增(&amp;A)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="67" />
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="71" />
        <source>&amp;Options</source>
        <translation>選項(&amp;O)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="72" />
        <source>&amp;View</source>
        <translation>檢視(&amp;V)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="73" />
        <source>&amp;Help</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="175" />
        <source>Lumivant Project (*.ledprj)</source>
        <translation>Lumivant 專案檔 (*.ledprj)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="243" />
        <source>&amp;Language</source>
        <translation>語言(&amp;L)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="345" />
        <source>Toolbar</source>
        <translation>工具列</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="347" />
        <source>Ready</source>
        <translation>就緒</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="369" />
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="607" />
        <source>The project could not be saved to "%1".</source>
        <translation>無法將專案儲存到「%1」。</translation>
    </message>
    <message>
        <source>Restore Earlier &amp;Version...</source>
        <translation>還原早期版本(&amp;V)...</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be opened; the open project stays as it was.</source>
        <translation>無法開啟「%1」；目前的專案保持不變。</translation>
    </message>
    <message>
        <source>The earlier content of the file could not be kept: %1</source>
        <translation>無法保留檔案的早期內容：%1</translation>
    </message>
    <message>
        <source>an untitled project</source>
        <translation>一個未命名專案</translation>
    </message>
    <message>
        <source>Lumivant was not closed properly last time. Restore the unsaved changes of %1 (%2)?</source>
        <translation>Lumivant 上次未正常關閉。是否還原 %1 中未儲存的變更（%2）？</translation>
    </message>
    <message>
        <source>The window stays open so that nothing is lost. Save the project somewhere else?</source>
        <translation>視窗保持開啟，以免遺失任何內容。是否將專案儲存到其他位置？</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>另存新檔...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="103" />
        <source>Zoom to &amp;Fit</source>
        <translation>適應視窗(&amp;F)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="105" />
        <source>Show &amp;Designer Colours</source>
        <translation>顯示設計顏色(&amp;D)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="107" />
        <source>&amp;LED Look (from Zoom 4/1)</source>
        <translation>LED 點陣效果(從 4/1 起)(&amp;L)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="109" />
        <source>&amp;Warnings</source>
        <translation>警告(&amp;W)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="390" />
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="110" />
        <source>Delivery &amp;History...</source>
        <translation>傳送記錄(&amp;H)...</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="715" />
        <source>Try Again</source>
        <translation>重試</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="743" />
        <source>Keep Mine</source>
        <translation>保留我的</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="744" />
        <source>Load Theirs</source>
        <translation>載入對方的</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="737" />
        <source>%1 was changed by another program. Keep your unsaved changes (a save then replaces the file, whose content is kept as an earlier version), or load the file as it is now (your unsaved changes are lost)?</source>
        <translation>%1 已被其他程式修改。保留您未儲存的變更（之後儲存時會取代該檔案，其內容作為早期版本保留），還是載入該檔案的目前內容（您未儲存的變更將遺失）？</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="767" />
        <source>%1 was removed or renamed by another program; Save writes it again.</source>
        <translation>%1 已被其他程式刪除或重新命名；儲存會重新寫入它。</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="774" />
        <source>%1 was changed by another program and has been loaded again.</source>
        <translation>%1 已被其他程式修改，已重新載入。</translation>
    </message>
</context>
<context>
    <name>CMyRichEditCtrl</name>
    <message>
        <location filename="../../editors/rich_edit_ctrl.cpp" line="101" />
        <source>Cut(&amp;X)</source>
        <translation>剪下(&amp;X)</translation>
    </message>
    <message>
        <location filename="../../editors/rich_edit_ctrl.cpp" line="103" />
        <source>Copy(&amp;C)</source>
        <translation>複製(&amp;C)</translation>
    </message>
    <message>
        <location filename="../../editors/rich_edit_ctrl.cpp" line="105" />
        <source>Paste(&amp;V)</source>
        <translation>貼上(&amp;V)</translation>
    </message>
    <message>
        <location filename="../../editors/rich_edit_ctrl.cpp" line="107" />
        <source>Undo(Z)</source>
        <translation>復原(Z)</translation>
    </message>
    <message>
        <location filename="../../editors/rich_edit_ctrl.cpp" line="109" />
        <source>Select All(&amp;A)</source>
        <translation>全選(&amp;A)</translation>
    </message>
</context>
<context>
    <name>CNetworkControllerDlg</name>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="86" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="89" />
        <source>Assign IP to PC</source>
        <translation>為電腦分配IP</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="100" />
        <source>IP Options</source>
        <translation>IP選項</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="102" />
        <source>Panel IP and MAC:</source>
        <translation>顯示屏IP和MAC：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="106" />
        <source>Panel ID</source>
        <translation>屏號</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="109" />
        <source>New ID:</source>
        <translation>新屏號：</translation>
    </message>
    <message>
        <source>Panel IP</source>
        <translation>顯示屏 IP</translation>
    </message>
    <message>
        <source>Panel MAC</source>
        <translation>顯示屏 MAC</translation>
    </message>
    <message>
        <source>Controller setup</source>
        <translation>控制卡設定</translation>
    </message>
</context>
<context>
    <name>COnOffDlg</name>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="120" />
        <source>On / Off</source>
        <translation>開關屏</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="124" />
        <source>Turn On</source>
        <translation>開屏</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="126" />
        <source>Turn Off</source>
        <translation>關屏</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="132" />
        <source>On/Off</source>
        <translation>開/關</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="158" />
        <source>The current status is : %1 </source>
        <translation>目前狀態：%1 </translation>
    </message>
</context>
<context>
    <name>COptionsDialog</name>
    <message>
        <location filename="../dialogs/options_dialog.cpp" line="63" />
        <source>Options</source>
        <translation>選項</translation>
    </message>
    <message>
        <location filename="../dialogs/options_dialog.cpp" line="64" />
        <source>Before close:</source>
        <translation>關閉前：</translation>
    </message>
    <message>
        <location filename="../dialogs/options_dialog.cpp" line="65" />
        <source>Tip with:</source>
        <translation>提示方式：</translation>
    </message>
    <message>
        <location filename="../dialogs/options_dialog.cpp" line="66" />
        <source>Default hold:</source>
        <translation>預設停留時間：</translation>
    </message>
    <message>
        <location filename="../dialogs/options_dialog.cpp" line="67" />
        <source> second(s)</source>
        <translation> 秒</translation>
    </message>
</context>
<context>
    <name>CPageBase</name>
    <message>
        <source>Time difference, sign</source>
        <translation>時差，符號</translation>
    </message>
    <message>
        <source>Time difference, hours</source>
        <translation>時差，小時</translation>
    </message>
    <message>
        <source>Time difference, minutes</source>
        <translation>時差，分鐘</translation>
    </message>
</context>
<context>
    <name>CPanelSetupDlg</name>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="60" />
        <source>Panel Setup</source>
        <translation>顯示屏設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="92" />
        <source>Controller:</source>
        <translation>控制卡：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="93" />
        <source>Color type:</source>
        <translation>顏色類型：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="94" />
        <source>Width(px):</source>
        <translation>寬度(像素)：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="95" />
        <source>Height(px):</source>
        <translation>高度(像素)：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="96" />
        <source>Data polar:</source>
        <translation>資料極性：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="97" />
        <source>OE polar:</source>
        <translation>OE極性：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="98" />
        <source>Freq:</source>
        <translation>頻率：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="99" />
        <source>Blanking:</source>
        <translation>消隱：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="100" />
        <source>Scan type:</source>
        <translation>掃描方式：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="107" />
        <source>Properties</source>
        <translation>屬性</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="109" />
        <source>Wiring diagram</source>
        <translation>接線圖</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="112" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="114" />
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="116" />
        <source>Read Back</source>
        <translation>回讀</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="118" />
        <source>Auto Switch &gt;&gt;</source>
        <translation>自動切換 &gt;&gt;</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="135" />
        <source>Interval:</source>
        <translation>間隔：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="137" />
        <source>Sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../../setup_ui/panel_setup_dlg.cpp" line="144" />
        <source> Current scan type is:
 %1
 , next type will set after %2 seconds.</source>
        <translation> 目前掃描方式：
 %1
 ，%2 秒後將設定下一種方式。</translation>
    </message>
</context>
<context>
    <name>CPasswordDlg</name>
    <message>
        <location filename="../../setup_ui/password_dlg.cpp" line="14" />
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <location filename="../../setup_ui/password_dlg.cpp" line="25" />
        <source>Please input password:</source>
        <translation>請輸入密碼：</translation>
    </message>
</context>
<context>
    <name>CProgramPage</name>
    <message>
        <location filename="../../editors/program_page.cpp" line="55" />
        <source>Name:</source>
        <translation>名稱：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="88" />
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="91" />
        <source>Default(order)</source>
        <translation>預設(順序)</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="94" />
        <source>Timing</source>
        <translation>定時</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="100" />
        <source>Time:</source>
        <translation>時長：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="102" />
        <source>Sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="111" />
        <source>Color border</source>
        <translation>彩色邊框</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="114" />
        <source>Pattern:</source>
        <translation>圖案：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="117" />
        <source>Image:</source>
        <translation>圖片：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="134" />
        <source>Flat</source>
        <translation>平鋪</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="143" />
        <source>Action:</source>
        <translation>動作：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="145" />
        <source>Step:</source>
        <translation>步長：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="147" />
        <source>Speed:</source>
        <translation>速度：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="157" />
        <source>Schedule</source>
        <translation>播放排程</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="164" />
        <source>Date range</source>
        <translation>日期範圍</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="174" />
        <source>Time range</source>
        <translation>時間範圍</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="181" />
        <source>Week</source>
        <translation>星期</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="185" />
        <source>Monday</source>
        <translation>星期一</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="185" />
        <source>Tuesday</source>
        <translation>星期二</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="185" />
        <source>Wednesday</source>
        <translation>星期三</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="186" />
        <source>Thursday</source>
        <translation>星期四</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="186" />
        <source>Friday</source>
        <translation>星期五</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="186" />
        <source>Saturday</source>
        <translation>星期六</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="187" />
        <source>Sunday</source>
        <translation>星期日</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="193" />
        <location filename="../../editors/program_page.cpp" line="198" />
        <source>Start:</source>
        <translation>開始：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="195" />
        <location filename="../../editors/program_page.cpp" line="200" />
        <source>End:</source>
        <translation>結束：</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="265" />
        <source>Border image</source>
        <translation>邊框圖片</translation>
    </message>
    <message>
        <location filename="../../editors/program_page.cpp" line="266" />
        <source>Images (*.bmp *.gif *.tif *.tiff *.jpg *.jpeg *.ico *.png)</source>
        <translation>圖片 (*.bmp *.gif *.tif *.tiff *.jpg *.jpeg *.ico *.png)</translation>
    </message>
</context>
<context>
    <name>CProgressDialog</name>
    <message>
        <location filename="../dialogs/progress_dialog.cpp" line="54" />
        <source>Progress</source>
        <translation>進度</translation>
    </message>
    <message>
        <location filename="../dialogs/progress_dialog.cpp" line="55" />
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <location filename="../dialogs/progress_dialog.cpp" line="56" />
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CProjectTreeModel</name>
    <message>
        <source>Mark %1 for sending</source>
        <translation>標記 %1 以傳送</translation>
    </message>
    <message>
        <source>Do not send %1</source>
        <translation>不傳送 %1</translation>
    </message>
</context>
<context>
    <name>CScreenPage</name>
    <message>
        <location filename="../../editors/screen_page.cpp" line="46" />
        <source>Panel properties</source>
        <translation>顯示屏屬性</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="49" />
        <source>Communication</source>
        <translation>通訊</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="59" />
        <source>Sync Timer</source>
        <translation>校準時間</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="60" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="61" />
        <source>Brightness</source>
        <translation>亮度</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="62" />
        <source>Turn On/Off</source>
        <translation>開關屏</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="80" />
        <source>Name:</source>
        <translation>名稱：</translation>
    </message>
    <message>
        <location filename="../../editors/screen_page.cpp" line="60" />
        <source>Last delivery</source>
        <translation>最近一次傳送</translation>
    </message>
</context>
<context>
    <name>CSerialControllerDlg</name>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="49" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="58" />
        <source>Baudrate</source>
        <translation>鮑率</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="60" />
        <source>Current baudrate is %1</source>
        <translation>目前鮑率為 %1</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="61" />
        <source>New baudrate:</source>
        <translation>新鮑率：</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="62" />
        <source>Panel ID</source>
        <translation>屏號</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="65" />
        <source>New ID:</source>
        <translation>新屏號：</translation>
    </message>
    <message>
        <source>Controller setup</source>
        <translation>控制卡設定</translation>
    </message>
</context>
<context>
    <name>CTablePage</name>
    <message>
        <location filename="../../editors/table_page.cpp" line="64" />
        <source>Add Col</source>
        <translation>新增欄</translation>
    </message>
    <message>
        <location filename="../../editors/table_page.cpp" line="66" />
        <source>Delete Col</source>
        <translation>刪除欄</translation>
    </message>
    <message>
        <location filename="../../editors/table_page.cpp" line="68" />
        <source>Add Row</source>
        <translation>新增列</translation>
    </message>
    <message>
        <location filename="../../editors/table_page.cpp" line="70" />
        <source>Delete Row</source>
        <translation>刪除列</translation>
    </message>
    <message>
        <source>Cell text</source>
        <translation>儲存格文字</translation>
    </message>
    <message>
        <source>Table</source>
        <translation>表格</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>字型大小</translation>
    </message>
</context>
<context>
    <name>CTemperaturePage</name>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="18" />
        <source>Single line</source>
        <translation>單行</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="21" />
        <source>Multi-line</source>
        <translation>多行</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="24" />
        <source>Temp</source>
        <translation>溫度</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="35" />
        <source>Humi</source>
        <translation>濕度</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="49" />
        <source>Temperature</source>
        <translation>溫度</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="51" />
        <source>Senser:</source>
        <translation>感測器：</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="65" />
        <source>Text:</source>
        <translation>文字：</translation>
    </message>
    <message>
        <location filename="../../editors/temperature_page.cpp" line="68" />
        <source>Number:</source>
        <translation>數字：</translation>
    </message>
</context>
<context>
    <name>CTextEditorDlg</name>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="615" />
        <location filename="../../editors/text_editor_dlg.cpp" line="624" />
        <source>Rich text (*.rtf);;Plain text (*.txt)</source>
        <translation>RTF 格式文字 (*.rtf);;純文字 (*.txt)</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="634" />
        <source>Pictures (*.bmp *.gif *.tiff *.tif *.jpg *.jpeg *.ico *.png)</source>
        <translation>圖片 (*.bmp *.gif *.tiff *.tif *.jpg *.jpeg *.ico *.png)</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="723" />
        <source>Font</source>
        <translation>字型</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="724" />
        <source>Font size</source>
        <translation>字型大小</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="725" />
        <source>Bold</source>
        <translation>粗體</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="726" />
        <source>Italic</source>
        <translation>斜體</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="727" />
        <source>Underline</source>
        <translation>底線</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="728" />
        <source>Align Left</source>
        <translation>靠左對齊</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="729" />
        <source>Center</source>
        <translation>水平置中</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="730" />
        <source>Align Right</source>
        <translation>靠右對齊</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="731" />
        <source>Align Top</source>
        <translation>靠上對齊</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="732" />
        <source>Middle</source>
        <translation>垂直置中</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="733" />
        <source>Align Bottom</source>
        <translation>靠下對齊</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="734" />
        <source>Save to file</source>
        <translation>儲存至檔案</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="735" />
        <source>Open from file</source>
        <translation>從檔案開啟</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="736" />
        <source>Insert Image</source>
        <translation>插入圖片</translation>
    </message>
    <message>
        <location filename="../../editors/text_editor_dlg.cpp" line="737" />
        <source>Line Space</source>
        <translation>行距</translation>
    </message>
</context>
<context>
    <name>CTimetablePage</name>
    <message>
        <location filename="../../setup_ui/timetable_page.cpp" line="18" />
        <source>Start</source>
        <translation>開始時間</translation>
    </message>
    <message>
        <location filename="../../setup_ui/timetable_page.cpp" line="19" />
        <source>End</source>
        <translation>結束時間</translation>
    </message>
    <message>
        <location filename="../../setup_ui/timetable_page.cpp" line="21" />
        <source>Selected</source>
        <translation>啟用</translation>
    </message>
    <message>
        <location filename="../../setup_ui/timetable_page.cpp" line="49" />
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>%1, row %2</source>
        <translation>%1，第 %2 列</translation>
    </message>
</context>
<context>
    <name>CWarningsView</name>
    <message>
        <location filename="../warnings_view.cpp" line="106" />
        <source>No warnings</source>
        <translation>沒有警告</translation>
    </message>
    <message>
        <location filename="../warnings_view.cpp" line="106" />
        <source>Warnings: %1</source>
        <translation>警告：%1</translation>
    </message>
    <message>
        <location filename="../warnings_view.cpp" line="108" />
        <source>(checking...)</source>
        <translation>（正在檢查...）</translation>
    </message>
    <message>
        <location filename="../warnings_view.cpp" line="110" />
        <source>Warnings</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>CWindowPage</name>
    <message>
        <location filename="../../editors/window_page.cpp" line="78" />
        <source>Window</source>
        <translation>視窗</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="80" />
        <source>Name:</source>
        <translation>名稱：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="81" />
        <source>X:</source>
        <translation>X：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="82" />
        <source>Y:</source>
        <translation>Y：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="83" />
        <source>Width:</source>
        <translation>寬度：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="84" />
        <source>Height:</source>
        <translation>高度：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="85" />
        <source>Frame:</source>
        <translation>邊框：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="86" />
        <source>Dircc:</source>
        <translation>方向：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="87" />
        <source>Speed:</source>
        <translation>速度：</translation>
    </message>
    <message>
        <location filename="../../editors/window_page.cpp" line="88" />
        <source>Color:</source>
        <translation>顏色：</translation>
    </message>
</context>
<context>
    <name>CZoneEffectPage</name>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="24" />
        <source>Sec</source>
        <translation>秒</translation>
    </message>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="26" />
        <source>Effect</source>
        <translation>特效</translation>
    </message>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="28" />
        <source>Action:</source>
        <translation>動作：</translation>
    </message>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="29" />
        <source>Speed:</source>
        <translation>速度：</translation>
    </message>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="30" />
        <source>Hold:</source>
        <translation>停留：</translation>
    </message>
    <message>
        <location filename="../../editors/zone_effect_page.cpp" line="31" />
        <source>Clear:</source>
        <translation>清屏：</translation>
    </message>
</context>
<context>
    <name>ControlNames</name>
    <message>
        <source>%1 color</source>
        <translation>%1顏色</translation>
    </message>
    <message>
        <source>%1 size</source>
        <translation>%1大小</translation>
    </message>
    <message>
        <source>%1 shape</source>
        <translation>%1形狀</translation>
    </message>
    <message>
        <source>%1 unit</source>
        <translation>%1單位</translation>
    </message>
</context>
<context>
    <name>DocumentCommands</name>
    <message>
        <location filename="../document_commands.cpp" line="81" />
        <source>Add Window</source>
        <translation>新增視窗</translation>
    </message>
    <message>
        <location filename="../document_commands.cpp" line="139" />
        <source>Add Zone</source>
        <translation>新增訊息</translation>
    </message>
    <message>
        <source>Add %1</source>
        <translation>新增 %1</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>刪除 %1</translation>
    </message>
    <message>
        <source>Move %1 up</source>
        <translation>上移 %1</translation>
    </message>
    <message>
        <source>Move %1 down</source>
        <translation>下移 %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="43" />
        <source>Mode</source>
        <translation>模式</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="44" />
        <source>Manual</source>
        <translation>手動</translation>
    </message>
    <message>
        <location filename="../../setup_ui/brightness_dlg.cpp" line="46" />
        <source>Timing</source>
        <translation>定時</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="32" />
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../setup_ui/controller_setup_dlg.cpp" line="41" />
        <source>Current ID is %1</source>
        <translation>目前屏號為 %1</translation>
    </message>
</context>
<context>
    <name>SetupSteps</name>
    <message>
        <source>%1 of %2</source>
        <translation>%2 的%1</translation>
    </message>
    <message>
        <source>Parameters of %1 read from the panel</source>
        <translation>從顯示屏讀取的 %1 參數</translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <location filename="../shell_commands.cpp" line="232" />
        <source>The settings file could not be written.</source>
        <translation>無法寫入設定檔。</translation>
    </message>
    <message>
        <location filename="../shell_commands.cpp" line="240" />
        <source>About Lumivant</source>
        <translation>關於 Lumivant</translation>
    </message>
    <message>
        <source>Fit the windows of %1</source>
        <translation>調整 %1 的視窗</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%2 的%1</translation>
    </message>
    <message>
        <source>Parameters of %1 read while sending</source>
        <translation>傳送時讀取的 %1 參數</translation>
    </message>
    <message>
        <source>Panel search for %1</source>
        <translation>為 %1 搜尋顯示屏</translation>
    </message>
    <message>
        <source>Sync Timer</source>
        <translation>校正時間</translation>
    </message>
    <message>
        <source>Panel Parameter Reset</source>
        <translation>顯示屏參數重設</translation>
    </message>
    <message>
        <source>Clear Panel</source>
        <translation>清除顯示屏</translation>
    </message>
</context>
</TS>
