<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>CMainFrame</name>
    <message>
        <location filename="../frame_actions.cpp" line="19"/>
        <source>&amp;New</source>
        <translation>新增(&amp;N)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="19"/>
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="21"/>
        <source>&amp;Open...</source>
        <translation>開啟(&amp;O)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="22"/>
        <source>Open</source>
        <translation>開啟</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="23"/>
        <source>&amp;Save</source>
        <translation>儲存(&amp;S)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="23"/>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="25"/>
        <source>Save &amp;As...</source>
        <translation>另存新檔(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="27"/>
        <source>E&amp;xit</source>
        <translation>結束(&amp;X)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="29"/>
        <source>&amp;Undo</source>
        <translation>復原(&amp;U)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="31"/>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="33"/>
        <location filename="../frame_actions.cpp" line="34"/>
        <location filename="../main_frame.cpp" line="91"/>
        <source>Add Program</source>
        <translation>新增節目</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="35"/>
        <location filename="../frame_actions.cpp" line="36"/>
        <location filename="../main_frame.cpp" line="92"/>
        <source>Add Window</source>
        <translation>新增視窗</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="37"/>
        <location filename="../frame_actions.cpp" line="38"/>
        <location filename="../main_frame.cpp" line="93"/>
        <source>Add RTF</source>
        <translation>新增文字</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="39"/>
        <location filename="../frame_actions.cpp" line="40"/>
        <location filename="../main_frame.cpp" line="94"/>
        <source>Add Image</source>
        <translation>新增圖片</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="41"/>
        <location filename="../frame_actions.cpp" line="42"/>
        <location filename="../main_frame.cpp" line="95"/>
        <source>Add Clock</source>
        <translation>新增時鐘</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="43"/>
        <location filename="../frame_actions.cpp" line="44"/>
        <location filename="../main_frame.cpp" line="96"/>
        <source>Add Datetime</source>
        <translation>新增時間</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="45"/>
        <location filename="../frame_actions.cpp" line="46"/>
        <source>Add Animate</source>
        <translation>新增動畫</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="47"/>
        <location filename="../frame_actions.cpp" line="48"/>
        <source>Add Temperature</source>
        <translation>新增溫度</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="49"/>
        <location filename="../frame_actions.cpp" line="50"/>
        <source>Add Countdown</source>
        <translation>新增倒計時</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="51"/>
        <location filename="../frame_actions.cpp" line="52"/>
        <source>Add Table</source>
        <translation>新增表格</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="53"/>
        <source>Delete Current Object</source>
        <translation>刪除目前物件</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="54"/>
        <location filename="../main_frame.cpp" line="89"/>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="55"/>
        <source>Move up</source>
        <translation>上移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="56"/>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="57"/>
        <source>Move down</source>
        <translation>下移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="58"/>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="59"/>
        <source>Export To USB Disk (*.rzu)...</source>
        <translation>匯出到USB隨身碟 (*.rzu)...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="60"/>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="61"/>
        <source>Send All Selected To Panel</source>
        <translation>傳送到所有選取的顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="62"/>
        <source>Send All</source>
        <translation>全部傳送</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="63"/>
        <source>Send Sel</source>
        <translation>傳送選取</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="64"/>
        <source>Send Selected</source>
        <translation>傳送選取</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="65"/>
        <source>Search Panel</source>
        <translation>搜尋顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="66"/>
        <source>Search</source>
        <translation>搜尋</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="67"/>
        <source>Panel Setup...</source>
        <translation>顯示屏設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="69"/>
        <source>Advanced Setup...</source>
        <translation>進階設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="71"/>
        <source>Communication Setup...</source>
        <translation>通訊設定...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="73"/>
        <location filename="../frame_actions.cpp" line="74"/>
        <source>Sync Timer</source>
        <translation>校正時間</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="75"/>
        <source>Adjust Brightness...</source>
        <translation>調整亮度...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="77"/>
        <source>Set Panel On/Off...</source>
        <translation>定時開關屏...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="79"/>
        <source>Panel Parameter Reset</source>
        <translation>顯示屏參數重設</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="81"/>
        <source>Firmware Update...</source>
        <translation>韌體更新...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="83"/>
        <source>Clear Panel</source>
        <translation>清除顯示屏</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="85"/>
        <source>Auto</source>
        <translation>自動</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="86"/>
        <source>Simplified Chinese</source>
        <translation>簡體中文</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="88"/>
        <source>Traditional Chinese</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="90"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="91"/>
        <source>Portuguese (Brazil)(PTB)</source>
        <translation>葡萄牙語(巴西)(PTB)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="93"/>
        <source>Turkish</source>
        <translation>土耳其語</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="94"/>
        <source>Options...</source>
        <translation>選項...</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="95"/>
        <source>&amp;Toolbar</source>
        <translation>工具列(&amp;T)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="96"/>
        <source>&amp;Status Bar</source>
        <translation>狀態列(&amp;S)</translation>
    </message>
    <message>
        <location filename="../frame_actions.cpp" line="98"/>
        <source>&amp;About Lumivant...</source>
        <translation>關於 Lumivant(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="60"/>
        <source>&amp;File</source>
        <translation>檔案(&amp;F)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="62"/>
        <source>&amp;Edit</source>
        <translation>編輯(&amp;E)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="63"/>
        <source>&amp;Add</source>
        <translation>新增(&amp;A)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="66"/>
        <source>&amp;Tools</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="70"/>
        <source>&amp;Options</source>
        <translation>選項(&amp;O)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="71"/>
        <source>&amp;View</source>
        <translation>檢視(&amp;V)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="72"/>
        <source>&amp;Help</source>
        <translation>說明(&amp;H)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="98"/>
        <source>↑Move Up</source>
        <translation>↑上移</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="99"/>
        <source>↓Move Down</source>
        <translation>↓下移</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="154"/>
        <source>Lumivant Project (*.ledprj)</source>
        <translation>Lumivant 專案檔 (*.ledprj)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="222"/>
        <source>&amp;Language</source>
        <translation>語言(&amp;L)</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="324"/>
        <source>Toolbar</source>
        <translation>工具列</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="326"/>
        <source>Ready</source>
        <translation>就緒</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="348"/>
        <source>Untitled</source>
        <translation>未命名</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="559"/>
        <source>Cannot open &quot;%1&quot;: the file does not exist.</source>
        <translation>無法開啟「%1」：檔案不存在。</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="579"/>
        <source>The project could not be saved to &quot;%1&quot;.</source>
        <translation>無法將專案儲存到「%1」。</translation>
    </message>
    <message>
        <location filename="../main_frame.cpp" line="624"/>
        <source>Lumivant was not closed properly last time. Restore the unsaved changes of the project?</source>
        <translation>Lumivant 上次未正常結束。是否還原專案中未儲存的變更？</translation>
    </message>
</context>
<context>
    <name>DocumentCommands</name>
    <message>
        <location filename="../document_commands.cpp" line="81"/>
        <source>Add Window</source>
        <translation>新增視窗</translation>
    </message>
    <message>
        <location filename="../document_commands.cpp" line="139"/>
        <source>Add Zone</source>
        <translation>新增訊息</translation>
    </message>
</context>
</TS>
