#include "document/lumivant_doc.h"
#include "editors/line_space_dlg.h"
#include "editors/rich_edit_ctrl.h"
#include "editors/text_editor_dlg.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "render/renderer.h"
#include "render/rtf_reader.h"
#include "render/text_decoder.h"
#include "render/text_editing.h"
#include "support/accessible_names.h"
#include "support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include <gtest/gtest.h>

namespace {

class TextEditorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        InstallRenderer();
        screen().Params().SetU8(ControllerParams::ColourType, 2);
        auto* program = static_cast<CProgram*>(screen().GetChild(0));
        auto window = program->CreateChild(KindWindow);
        window->SetFore(0);
        static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, 0, 64, 32});
        auto text = window->CreateChild(KindText);
        zone = static_cast<CTextZone*>(text.get());
        window->AddChild(std::move(text));
        program->AddChild(std::move(window));
    }

    CScreen& screen() { return *static_cast<CScreen*>(doc.Root().GetChild(0)); }
    std::unique_ptr<CTextEditorDlg> OpenEditor()
    {
        auto editor = std::make_unique<CTextEditorDlg>(*zone, doc);
        editor->resize(400, 300);
        editor->show();
        return editor;
    }
    static QStringList Items(QComboBox* box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    static void Choose(QComboBox* box, const QString& text)
    {
        const int row = box->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        box->setCurrentIndex(row);
        emit box->activated(row);
    }
    // The zone's stored text as the renderer reads it.
    QTextCharFormat StoredFormatAt(int position)
    {
        QTextDocument stored;
        ReadRtf(zone->GetRtf(), stored);
        QTextCursor cursor(&stored);
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    void SelectAll(CTextEditorDlg& editor)
    {
        QTextCursor cursor = editor.TextArea()->textCursor();
        cursor.select(QTextCursor::Document);
        editor.TextArea()->setTextCursor(cursor);
    }

    CLumivantDoc doc;
    CTextZone* zone = nullptr;
};

TEST_F(TextEditorTest, ColourListsOfferWhatTheScreenShows)
{
    screen().Params().SetU8(ControllerParams::ColourType, 1);
    auto editor = OpenEditor();
    EXPECT_EQ(Items(editor->findChild<QComboBox*>("foreColour")), QStringList{"Red"});
    EXPECT_EQ(Items(editor->findChild<QComboBox*>("backColour")), (QStringList{"Black", "Red"}));

    EXPECT_EQ(ForeColourIndexes(3).size(), 7);
    EXPECT_EQ(BackColourIndexes(3).front(), 0);
    EXPECT_EQ(BackColour(7), QColor(235, 235, 235));
    EXPECT_EQ(BackColour(1), QColor(235, 0, 0));
    EXPECT_EQ(ColourIndexOf(QColor(235, 210, 90), kForeColourThreshold), 3);
    EXPECT_EQ(ColourIndexOf(QColor(235, 90, 110), kBackColourThreshold), 5);
}

TEST_F(TextEditorTest, SizesOutsideFourTo1024BecomeNine)
{
    EXPECT_EQ(EditorFontSize("2"), 9);
    EXPECT_EQ(EditorFontSize("2000"), 9);
    EXPECT_EQ(EditorFontSize("big"), 9);
    EXPECT_EQ(EditorFontSize(" 36 "), 36);
    EXPECT_EQ(EditorFontSize("1024"), 1024);

    auto editor = OpenEditor();
    QTest::keyClicks(editor->TextArea(), "Sale");
    SelectAll(*editor);
    auto* size = editor->findChild<QComboBox*>("fontSize");
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), "2");
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(size->currentText(), QStringLiteral("9"));
    EXPECT_EQ(StoredFormatAt(1).property(QTextFormat::FontPixelSize).toInt(), 12);
    EXPECT_TRUE(zone->GetRtf().contains(QStringLiteral("\\fs18")));
}

TEST_F(TextEditorTest, FormatsOfTheSelectionAreStoredAndAnEmptySelectionOnlyHints)
{
    screen().Params().SetU8(ControllerParams::ColourType, 3);
    auto editor = OpenEditor();
    QTest::keyClicks(editor->TextArea(), "AB");
    Choose(editor->findChild<QComboBox*>("backColour"), "White");
    EXPECT_EQ(editor->StatusHint(), QStringLiteral("Please select some text first."));
    EXPECT_EQ(StoredFormatAt(0).background().style(), Qt::NoBrush);

    SelectAll(*editor);
    Choose(editor->findChild<QComboBox*>("backColour"), "White");
    EXPECT_EQ(StoredFormatAt(1).background().color(), QColor(235, 235, 235));
}

TEST_F(TextEditorTest, TheFiveHundredAndThirteenthCharacterIsRefused)
{
    auto editor = OpenEditor();
    CMyRichEditCtrl* text = editor->TextArea();
    text->setPlainText(QString(511, u'x'));
    text->moveCursor(QTextCursor::End);
    QTest::keyClicks(text, "yz");
    EXPECT_EQ(text->CharacterCount(), 512);
    EXPECT_TRUE(text->toPlainText().endsWith(u'y'));

    QApplication::clipboard()->setText(QStringLiteral("more"));
    text->paste();
    EXPECT_EQ(text->CharacterCount(), 512);
    EXPECT_EQ(text->toolTip(), QStringLiteral("Typed 512, Max 512."));
}

TEST_F(TextEditorTest, CentreTwiceStaysCentredInOneStep)
{
    auto editor = OpenEditor();
    QTest::keyClicks(editor->TextArea(), "Open");
    const int steps = doc.UndoStack().count();
    auto* centre = editor->findChild<QAction*>("alignCenter");
    centre->trigger();
    centre->trigger();
    EXPECT_TRUE(centre->isChecked());
    EXPECT_EQ(editor->TextArea()->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(doc.UndoStack().count(), steps + 1);

    editor->findChild<QAction*>("alignTop")->trigger();
    EXPECT_EQ(zone->GetVerticalAlign(), AlignTop);
}

TEST_F(TextEditorTest, PastedTextTakesTheForeColour)
{
    auto editor = OpenEditor();
    editor->TextArea()->clear();
    Choose(editor->findChild<QComboBox*>("foreColour"), "Green");
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    editor->TextArea()->paste();
    EXPECT_EQ(editor->TextArea()->toPlainText(), QStringLiteral("xyz"));
    EXPECT_EQ(StoredFormatAt(1).foreground().color(), QColor(0, 255, 0));
}

TEST_F(TextEditorTest, EverythingTypedSurvivesTheStoredRtf)
{
    auto editor = OpenEditor();
    CMyRichEditCtrl* text = editor->TextArea();
    text->clear();
    // Chinese arrives through an input method.
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("价格"));
    QCoreApplication::sendEvent(text, &typed);
    QTest::keyClicks(text, " 9.90");
    SelectAll(*editor);
    Choose(editor->findChild<QComboBox*>("foreColour"), "Green");
    auto* size = editor->findChild<QComboBox*>("fontSize");
    Choose(size, "36");
    for (const char* name : {"bold", "italic", "underline"}) {
        auto* action = editor->findChild<QAction*>(name);
        action->setChecked(true);
        emit action->triggered(true);
    }
    editor->findChild<QAction*>("alignRight")->trigger();
    text->moveCursor(QTextCursor::End);
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(editor->InsertPicture(picture));
    QTest::keyClick(text, Qt::Key_Space);
    const QString stored = zone->GetRtf();

    editor.reset();
    auto reopened = OpenEditor();
    EXPECT_EQ(zone->GetRtf(), stored);
    QTextDocument* document = reopened->TextArea()->document();
    EXPECT_TRUE(document->toPlainText().startsWith(QStringLiteral("价格 9.90")));
    QTextCursor cursor(document);
    cursor.setPosition(2);
    const QTextCharFormat format = cursor.charFormat();
    EXPECT_EQ(format.foreground().color(), QColor(0, 255, 0));
    EXPECT_EQ(format.property(QTextFormat::FontPixelSize).toInt(), 48);
    EXPECT_TRUE(stored.contains(QStringLiteral("\\fs72")));
    EXPECT_GE(format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(format.fontItalic());
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_TRUE(document->begin().blockFormat().alignment() & Qt::AlignRight);
    bool hasPicture = false;
    for (auto it = document->begin().begin(); !it.atEnd(); ++it)
        hasPicture = hasPicture || it.fragment().charFormat().isImageFormat();
    EXPECT_TRUE(hasPicture);
}

TEST(PlainTextFiles, Utf8ThenGbkThenBig5)
{
    QString text;
    ASSERT_TRUE(DecodePlainText(QByteArray("\xE4\xBB\xB7\xE6\xA0\xBC"), text));
    EXPECT_EQ(text, QStringLiteral("价格"));
    ASSERT_TRUE(DecodePlainText(QByteArray("\xBC\xDB\xB8\xF1 9.90"), text)); // GBK
    EXPECT_EQ(text, QStringLiteral("价格 9.90"));
    ASSERT_TRUE(DecodePlainText(QByteArray("\xBB\xF9\xAE\xE6"), text)); // Big5
    EXPECT_EQ(text, QStringLiteral("價格"));
    ASSERT_TRUE(DecodePlainText(
        QByteArray::fromHex("c0e7b77eaec9b6a1a147a457a4c8a445c249a6dcb1dfa457a451c249"), text));
    EXPECT_EQ(text, QStringLiteral("營業時間：上午九點至晚上十點"));
    EXPECT_FALSE(DecodePlainText(QByteArray("PK\x03\x04\x00\x00", 6), text));
}

TEST_F(TextEditorTest, FilesThatCannotBeReadOrWrittenLeaveTheTextAsItWas)
{
    RecordingMessageSink messages;
    QTemporaryDir folder;
    auto editor = OpenEditor();
    editor->TextArea()->clear();
    QTest::keyClicks(editor->TextArea(), "Menu");
    const QString before = zone->GetRtf();

    EXPECT_FALSE(editor->OpenFromFile(folder.filePath("missing.txt")));
    WriteFileBytes(folder.filePath("binary.txt"), QByteArray("\x7F"
                                                             "ELF\x02\x01\x00\x00",
                                                             8));
    EXPECT_FALSE(editor->OpenFromFile(folder.filePath("binary.txt")));
    EXPECT_FALSE(editor->SaveToFile(folder.filePath("no/such/folder/x.rtf")));
    // A device is never read: /dev/zero would fill the memory.
    EXPECT_FALSE(editor->OpenFromFile(QStringLiteral("/dev/zero")));
    EXPECT_EQ(messages.texts,
              (QStringList{"Failed on open file! The file does not exist.", "Failed on read file!",
                           "Write file failed!",
                           "Failed on open file! It is not a regular file or a pipe."}));
    EXPECT_EQ(editor->TextArea()->toPlainText(), QStringLiteral("Menu"));
    EXPECT_EQ(zone->GetRtf(), before);

    // A GBK text file opens as text, and what is saved as text is UTF-8.
    WriteFileBytes(folder.filePath("gbk.txt"), QByteArray("\xBC\xDB\xB8\xF1"));
    ASSERT_TRUE(editor->OpenFromFile(folder.filePath("gbk.txt")));
    EXPECT_EQ(editor->TextArea()->toPlainText(), QStringLiteral("价格"));
    ASSERT_TRUE(editor->SaveToFile(folder.filePath("out.txt")));
    EXPECT_EQ(ReadFileBytes(folder.filePath("out.txt")), QByteArray("\xE4\xBB\xB7\xE6\xA0\xBC"));
    ASSERT_TRUE(editor->SaveToFile(folder.filePath("out.rtf")));
    ASSERT_TRUE(editor->OpenFromFile(folder.filePath("out.rtf")));
    EXPECT_EQ(editor->TextArea()->toPlainText(), QStringLiteral("价格"));
}

TEST(LineSpaceDialog, CheckingProposesHalfTheHeightAndUncheckedStoresZero)
{
    CLineSpaceDlg automatic({0, 0}, 32);
    auto* custom = automatic.findChild<QCheckBox*>("customLineSpace");
    EXPECT_FALSE(custom->isChecked());
    EXPECT_FALSE(automatic.findChild<QSpinBox*>("lineSpace")->isEnabled());
    custom->setChecked(true);
    EXPECT_EQ(automatic.Result().lineSpace, 16);
    EXPECT_EQ(automatic.Result().topSpace, 0);
    custom->setChecked(false);
    EXPECT_EQ(automatic.Result().lineSpace, 0);

    CLineSpaceDlg set({20, -3}, 32);
    EXPECT_TRUE(set.findChild<QCheckBox*>("customLineSpace")->isChecked());
    EXPECT_EQ(set.Result().lineSpace, 20);
    EXPECT_EQ(set.Result().topSpace, -3);
}

} // namespace

TEST(LineSpaceDialog, EveryControlHasAName)
{
    CLineSpaceDlg dialog({20, -3}, 32);
    dialog.show();
    EXPECT_TRUE(ControlsWithoutName(&dialog).isEmpty())
        << ControlsWithoutName(&dialog).join(u'\n').toStdString();
}
