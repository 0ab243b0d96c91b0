#pragma once

#include <QWidget>

class CLumivantDoc;
class CMyRichEditCtrl;
class CRichTextBase;
class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QTextCharFormat;
class QToolBar;

// The rich-text editor of text and animate zones: font face and size, fore and back
// colours of the screen's colours, bold, italic, underline, horizontal and vertical
// alignment, line spacing, pictures, and the text as a file. Every change is written into
// the zone at once (as RTF, one undo step for a run of typing) and the zone re-renders
// after a short delay; beside the text the zone's first page shows as the LED draws it.
class CTextEditorDlg : public QWidget
{
    Q_OBJECT

public:
    CTextEditorDlg(CRichTextBase& zone, CLumivantDoc& doc, QWidget* parent = nullptr);
    ~CTextEditorDlg() override;

    CMyRichEditCtrl* TextArea() const { return m_text; }
    // Loads the zone's text again (after it changed elsewhere, an undo).
    void Reload();

    // The file commands without their file dialogs. False, after the warning, when the
    // file could not be written or read; the text is then as it was.
    bool SaveToFile(const QString& path);
    bool OpenFromFile(const QString& path);
    // Inserts a picture at the selection as the LED shows it (fitted into the zone,
    // reduced to the screen's colours).
    bool InsertPicture(const QImage& picture);

    // The last hint of the status line ("Please select some text first.").
    QString StatusHint() const;

signals:
    // A hint for the main window's status bar.
    void statusHint(const QString& text);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void BuildToolBar();
    void FillColourLists();
    void FillFontList();
    void retranslateUi();
    void LoadZone();

    // Writing back.
    void SaveToZone(int mergeId);
    void OnTextChanged();
    void ApplyFormat(const QTextCharFormat& format);
    void ApplyForeColour(int start, int end);

    // Controls.
    void OnFaceChosen(int index);
    void OnSizeChosen();
    void OnForeColourChosen(int index);
    void OnBackColourChosen(int index);
    void OnEffectToggled(QAction* action);
    void OnHorizontalAlign(QAction* action);
    void OnVerticalAlign(QAction* action);
    void OnSelectionChanged();
    void OnSaveFile();
    void OnOpenFile();
    void OnInsertImage();
    void OnLineSpace();

    void ShowHint(const QString& text);
    void UpdateLedPreview();
    void UpdateToolTip();
    int ForeIndexAt(int row) const;
    int BackIndexAt(int row) const;

    CRichTextBase& m_zone;
    CLumivantDoc& m_doc;
    bool m_ready = false;
    bool m_writing = false;
    int m_pictureCount = 0;

    QComboBox* m_face = nullptr;
    QComboBox* m_size = nullptr;
    QComboBox* m_fore = nullptr;
    QComboBox* m_back = nullptr;
    QToolBar* m_toolBar = nullptr;
    CMyRichEditCtrl* m_text = nullptr;
    QLabel* m_ledPage = nullptr;
    QLabel* m_pageCount = nullptr;
    QLabel* m_hint = nullptr;

    QAction* m_bold = nullptr;
    QAction* m_italic = nullptr;
    QAction* m_underline = nullptr;
    QAction* m_alignLeft = nullptr;
    QAction* m_alignCenter = nullptr;
    QAction* m_alignRight = nullptr;
    QAction* m_alignTop = nullptr;
    QAction* m_alignMiddle = nullptr;
    QAction* m_alignBottom = nullptr;
    QAction* m_saveFile = nullptr;
    QAction* m_openFile = nullptr;
    QAction* m_insertImage = nullptr;
    QAction* m_lineSpace = nullptr;
    QActionGroup* m_horizontal = nullptr;
    QActionGroup* m_vertical = nullptr;
};
