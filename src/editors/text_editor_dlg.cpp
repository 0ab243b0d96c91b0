#include "editors/text_editor_dlg.h"

#include "base/bounded_file.h"
#include "base/messages.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "editors/editor_icons.h"
#include "editors/line_space_dlg.h"
#include "editors/rich_edit_ctrl.h"
#include "editors/sign_view_options.h"
#include "model/led_bitmap.h"
#include "model/rich_text_base.h"
#include "platform/font_mapping.h"
#include "render/led_paint.h"
#include "render/rtf_reader.h"
#include "render/rtf_writer.h"
#include "render/sign_picture.h"
#include "render/text_decoder.h"
#include "render/text_editing.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QResizeEvent>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// One undo step for a run of typing in the same zone.
constexpr int kTypingMergeId = 0x7465;
constexpr int kDefaultPointSize = kEditorDefaultFontSize;
constexpr int kPictureMaxPixels = 4096;

QString NumberedText(int id, std::initializer_list<int> numbers)
{
    QString text = LoadString(id);
    for (int number : numbers) {
        const qsizetype at = text.indexOf(QStringLiteral("%d"));
        if (at < 0)
            break;
        text.replace(at, 2, QString::number(number));
    }
    return text;
}

QIcon ColourSwatch(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

int HorizontalCode(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return 3;
    if (alignment & Qt::AlignRight)
        return 2;
    return 1;
}

// Sizes are chosen in points; the LED draws pixels at 96 per inch. Both are set, so the
// stored text keeps the exact point size and the editor shows the LED's pixel size.
void SetSize(QTextCharFormat& format, int points)
{
    format.setFontPointSize(points);
    format.setProperty(QTextFormat::FontPixelSize, PointsToPixels(points));
}

int PointSizeOf(const QTextCharFormat& format, const QFont& fallback)
{
    if (format.fontPointSize() > 0)
        return qRound(format.fontPointSize());
    const int pixels = format.property(QTextFormat::FontPixelSize).toInt();
    if (pixels > 0)
        return qRound(pixels * 72.0 / 96.0);
    return qRound(fallback.pointSizeF());
}

} // namespace

CTextEditorDlg::CTextEditorDlg(CRichTextBase& zone, CLumivantDoc& doc, QWidget* parent)
    : QWidget(parent), m_zone(zone), m_doc(doc)
{
    BuildControls();
    BuildToolBar();
    FillColourLists();
    FillFontList();
    retranslateUi();
    LoadZone();

    connect(m_text, &QTextEdit::textChanged, this, &CTextEditorDlg::OnTextChanged);
    connect(m_text, &QTextEdit::cursorPositionChanged, this, &CTextEditorDlg::OnSelectionChanged);
    connect(m_text, &QTextEdit::selectionChanged, this, &CTextEditorDlg::OnSelectionChanged);
    connect(m_text, &CMyRichEditCtrl::pasted, this, &CTextEditorDlg::ApplyForeColour);
    connect(m_face, &QComboBox::activated, this, &CTextEditorDlg::OnFaceChosen);
    connect(m_size, &QComboBox::activated, this, [this] { OnSizeChosen(); });
    connect(m_size->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_size->lineEdit()->isModified())
            OnSizeChosen();
        m_size->lineEdit()->setModified(false);
    });
    connect(m_fore, &QComboBox::activated, this, &CTextEditorDlg::OnForeColourChosen);
    connect(m_back, &QComboBox::activated, this, &CTextEditorDlg::OnBackColourChosen);
    connect(&m_doc, &CLumivantDoc::objectChanged, this, [this](CProjectObject* object, int) {
        if (object == &m_zone && !m_writing)
            Reload();
    });
    connect(&m_doc, &CLumivantDoc::objectRendered, this, [this](CProjectObject* object) {
        for (CProjectObject* at = &m_zone; at; at = at->Parent()) {
            if (at == object) {
                UpdateLedPreview();
                return;
            }
        }
    });
    connect(&CSignViewOptions::Instance(), &CSignViewOptions::changed, this,
            &CTextEditorDlg::UpdateLedPreview);
    m_ready = true;
}

CTextEditorDlg::~CTextEditorDlg() = default;

void CTextEditorDlg::BuildControls()
{
    m_face = new QComboBox(this);
    m_face->setObjectName(QStringLiteral("fontFace"));
    m_face->setMinimumContentsLength(12);
    m_face->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("fontSize"));
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (int size : EditorFontSizes())
        m_size->addItem(QString::number(size));
    m_size->setCurrentText(QString::number(kDefaultPointSize));
    m_size->setMinimumContentsLength(4);
    m_fore = new QComboBox(this);
    m_fore->setObjectName(QStringLiteral("foreColour"));
    m_back = new QComboBox(this);
    m_back->setObjectName(QStringLiteral("backColour"));

    m_text = new CMyRichEditCtrl(this);
    m_text->setObjectName(QStringLiteral("richText"));
    // The dark background of the LED, so the text shows in the colours it will have.
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Base, QColor(20, 20, 20));
    palette.setColor(QPalette::Text, Qt::red);
    m_text->setPalette(palette);
    if (m_zone.GetKind() == KindText)
        m_text->SetCharacterLimit(kTextZoneCharacterLimit);

    m_ledPage = new QLabel(this);
    m_ledPage->setObjectName(QStringLiteral("ledPage"));
    m_ledPage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ledPage->setMinimumHeight(20);
    m_pageCount = new QLabel(this);
    m_pageCount->setObjectName(QStringLiteral("pageCount"));
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("statusHint"));

    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setFixedHeight(24 + 4);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(0, 0, 0, 0);
    controls->addWidget(m_face, 3);
    controls->addWidget(m_size, 1);
    controls->addWidget(m_fore, 2);
    controls->addWidget(m_back, 2);
    auto* status = new QHBoxLayout;
    status->setContentsMargins(0, 0, 0, 0);
    status->addWidget(m_pageCount);
    status->addStretch(1);
    status->addWidget(m_hint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    layout->addLayout(controls);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_ledPage);
    layout->addLayout(status);
}

void CTextEditorDlg::BuildToolBar()
{
    const auto add = [this](EditorIcon icon, const char* name, bool checkable) {
        QAction* action = m_toolBar->addAction(MakeEditorIcon(icon), QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        return action;
    };
    m_bold = add(EditorIcon::Bold, "bold", true);
    m_italic = add(EditorIcon::Italic, "italic", true);
    m_underline = add(EditorIcon::Underline, "underline", true);
    m_toolBar->addSeparator();
    m_alignLeft = add(EditorIcon::AlignLeft, "alignLeft", true);
    m_alignCenter = add(EditorIcon::AlignCenter, "alignCenter", true);
    m_alignRight = add(EditorIcon::AlignRight, "alignRight", true);
    m_toolBar->addSeparator();
    m_alignTop = add(EditorIcon::AlignTop, "alignTop", true);
    m_alignMiddle = add(EditorIcon::AlignMiddle, "alignMiddle", true);
    m_alignBottom = add(EditorIcon::AlignBottom, "alignBottom", true);
    m_toolBar->addSeparator();
    m_lineSpace = add(EditorIcon::LineSpace, "lineSpace", false);
    m_insertImage = add(EditorIcon::InsertImage, "insertImage", false);
    m_toolBar->addSeparator();
    m_openFile = add(EditorIcon::OpenFile, "openFile", false);
    m_saveFile = add(EditorIcon::SaveFile, "saveFile", false);

    m_horizontal = new QActionGroup(this);
    for (QAction* action : {m_alignLeft, m_alignCenter, m_alignRight})
        m_horizontal->addAction(action);
    m_vertical = new QActionGroup(this);
    for (QAction* action : {m_alignTop, m_alignMiddle, m_alignBottom})
        m_vertical->addAction(action);

    for (QAction* action : {m_bold, m_italic, m_underline})
        connect(action, &QAction::triggered, this, [this, action] { OnEffectToggled(action); });
    connect(m_horizontal, &QActionGroup::triggered, this, &CTextEditorDlg::OnHorizontalAlign);
    connect(m_vertical, &QActionGroup::triggered, this, &CTextEditorDlg::OnVerticalAlign);
    connect(m_lineSpace, &QAction::triggered, this, &CTextEditorDlg::OnLineSpace);
    connect(m_insertImage, &QAction::triggered, this, &CTextEditorDlg::OnInsertImage);
    connect(m_openFile, &QAction::triggered, this, &CTextEditorDlg::OnOpenFile);
    connect(m_saveFile, &QAction::triggered, this, &CTextEditorDlg::OnSaveFile);
}

void CTextEditorDlg::FillColourLists()
{
    const int depth = m_zone.ColourDepth();
    m_fore->clear();
    for (int index : ForeColourIndexes(depth))
        m_fore->addItem(ColourSwatch(ForeColour(index)), LoadString(42000 + index), index);
    m_back->clear();
    for (int index : BackColourIndexes(depth))
        m_back->addItem(ColourSwatch(ForeColour(index)), LoadString(42000 + index), index);
    m_fore->setCurrentIndex(0);
    m_back->setCurrentIndex(0);
}

void CTextEditorDlg::FillFontList()
{
    QStringList families = QFontDatabase::families();
    families.sort(Qt::CaseInsensitive);
    families.removeDuplicates();
    m_face->addItems(families);
    m_face->setCurrentIndex(m_face->findText(font().family()));
}

int CTextEditorDlg::ForeIndexAt(int row) const
{
    return row < 0 ? -1 : m_fore->itemData(row).toInt();
}

int CTextEditorDlg::BackIndexAt(int row) const
{
    return row < 0 ? -1 : m_back->itemData(row).toInt();
}

void CTextEditorDlg::LoadZone()
{
    const bool ready = std::exchange(m_ready, false);
    const QSignalBlocker blocker(m_text);
    QTextDocument* document = m_text->document();
    QFont face = font();
    face.setPointSize(kDefaultPointSize);
    document->setDefaultFont(face);
    ReadRtf(m_zone.GetRtf(), *document);
    QTextCharFormat initial;
    initial.setFontFamilies({font().family()});
    SetSize(initial, kDefaultPointSize);
    initial.setForeground(QColor(255, 0, 0));
    if (m_text->CharacterCount() == 0)
        m_text->setCurrentCharFormat(initial);
    document->clearUndoRedoStacks();

    switch (m_zone.GetVerticalAlign()) {
    case AlignTop:
        m_alignTop->setChecked(true);
        break;
    case AlignBottom:
        m_alignBottom->setChecked(true);
        break;
    default:
        m_alignMiddle->setChecked(true);
        break;
    }
    m_ready = ready;
    OnSelectionChanged();
    UpdateToolTip();
    UpdateLedPreview();
}

void CTextEditorDlg::Reload()
{
    const int position = m_text->textCursor().position();
    LoadZone();
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(std::min(position, m_text->CharacterCount()));
    m_text->setTextCursor(cursor);
}

void CTextEditorDlg::SaveToZone(int mergeId)
{
    const QString rtf = WriteRtf(*m_text->document());
    m_writing = true;
    m_doc.EditObject(
        m_zone, RefreshCode::Content, true, [&] { m_zone.SetRtf(rtf); }, mergeId);
    m_writing = false;
    UpdateToolTip();
}

void CTextEditorDlg::OnTextChanged()
{
    if (!m_ready)
        return;
    SaveToZone(kTypingMergeId);
}

void CTextEditorDlg::ApplyFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = m_text->textCursor();
    if (!cursor.hasSelection()) {
        // The next characters typed take the format; nothing in the zone changes.
        m_text->mergeCurrentCharFormat(format);
        ShowHint(LoadString(41084));
        m_text->setFocus();
        return;
    }
    {
        const QSignalBlocker blocker(m_text);
        cursor.mergeCharFormat(format);
        m_text->mergeCurrentCharFormat(format);
    }
    SaveToZone(0);
    m_text->setFocus();
}

void CTextEditorDlg::ApplyForeColour(int start, int end)
{
    if (m_fore->currentIndex() < 0)
        m_fore->setCurrentIndex(0);
    QTextCharFormat format;
    format.setForeground(ForeColour(ForeIndexAt(m_fore->currentIndex())));
    QTextCursor cursor(m_text->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    {
        const QSignalBlocker blocker(m_text);
        cursor.mergeCharFormat(format);
    }
    if (m_ready)
        SaveToZone(0);
}

void CTextEditorDlg::OnFaceChosen(int index)
{
    if (!m_ready || index < 0)
        return;
    QTextCharFormat format;
    format.setFontFamilies({m_face->itemText(index)});
    ApplyFormat(format);
}

void CTextEditorDlg::OnSizeChosen()
{
    if (!m_ready)
        return;
    const int size = EditorFontSize(m_size->currentText());
    m_size->setCurrentText(QString::number(size));
    QTextCharFormat format;
    SetSize(format, size);
    ApplyFormat(format);
}

void CTextEditorDlg::OnForeColourChosen(int index)
{
    if (!m_ready || index < 0)
        return;
    QTextCharFormat format;
    format.setForeground(ForeColour(ForeIndexAt(index)));
    ApplyFormat(format);
}

void CTextEditorDlg::OnBackColourChosen(int index)
{
    if (!m_ready || index < 0)
        return;
    QTextCharFormat format;
    format.setBackground(BackColour(BackIndexAt(index)));
    ApplyFormat(format);
}

void CTextEditorDlg::OnEffectToggled(QAction* action)
{
    if (!m_ready)
        return;
    const bool on = action->isChecked();
    QTextCharFormat format;
    if (action == m_bold)
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    else if (action == m_italic)
        format.setFontItalic(on);
    else
        format.setFontUnderline(on);
    QTextCursor cursor = m_text->textCursor();
    if (!cursor.hasSelection()) {
        m_text->mergeCurrentCharFormat(format);
        m_text->setFocus();
        return;
    }
    ApplyFormat(format);
}

void CTextEditorDlg::OnHorizontalAlign(QAction* action)
{
    if (!m_ready)
        return;
    Qt::Alignment alignment = Qt::AlignLeft;
    if (action == m_alignCenter)
        alignment = Qt::AlignHCenter;
    else if (action == m_alignRight)
        alignment = Qt::AlignRight;
    if (HorizontalCode(m_text->alignment()) == HorizontalCode(alignment))
        return;
    {
        const QSignalBlocker blocker(m_text);
        m_text->setAlignment(alignment);
    }
    SaveToZone(0);
    m_text->setFocus();
}

void CTextEditorDlg::OnVerticalAlign(QAction* action)
{
    if (!m_ready)
        return;
    int align = AlignMiddle;
    if (action == m_alignTop)
        align = AlignTop;
    else if (action == m_alignBottom)
        align = AlignBottom;
    if (m_zone.GetVerticalAlign() == align)
        return;
    m_writing = true;
    m_doc.EditObject(m_zone, RefreshCode::Content, true, [&] { m_zone.SetVerticalAlign(align); });
    m_writing = false;
    m_text->setFocus();
}

void CTextEditorDlg::OnSelectionChanged()
{
    const bool ready = std::exchange(m_ready, false);
    const QTextCharFormat format = m_text->currentCharFormat();
    const QStringList families = format.fontFamilies().toStringList();
    const QString face =
        families.isEmpty() ? m_text->document()->defaultFont().family() : families.first();
    int row = m_face->findText(face, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (row < 0 && !face.isEmpty()) {
        // A face stored on another machine: shown as it is, drawn with its stand-in.
        m_face->addItem(face);
        m_face->model()->sort(0);
        row = m_face->findText(face, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    }
    m_face->setCurrentIndex(row);
    m_size->setCurrentText(QString::number(PointSizeOf(format, m_text->document()->defaultFont())));
    const QColor fore =
        format.foreground().style() == Qt::NoBrush ? QColor(Qt::red) : format.foreground().color();
    m_fore->setCurrentIndex(m_fore->findData(ColourIndexOf(fore, kForeColourThreshold)));
    const QColor back = format.background().style() == Qt::NoBrush ? QColor(Qt::black)
                                                                   : format.background().color();
    m_back->setCurrentIndex(m_back->findData(ColourIndexOf(back, kBackColourThreshold)));
    m_bold->setChecked(format.fontWeight() >= QFont::Bold);
    m_italic->setChecked(format.fontItalic());
    m_underline->setChecked(format.fontUnderline());
    switch (HorizontalCode(m_text->alignment())) {
    case 3:
        m_alignCenter->setChecked(true);
        break;
    case 2:
        m_alignRight->setChecked(true);
        break;
    default:
        m_alignLeft->setChecked(true);
        break;
    }
    m_ready = ready;
}

bool CTextEditorDlg::SaveToFile(const QString& path)
{
    const bool plain = path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive);
    const QByteArray bytes =
        plain ? EncodePlainText(m_text->toPlainText()) : WriteRtf(*m_text->document()).toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowWarning(LoadString(41029));
        return false;
    }
    return true;
}

bool CTextEditorDlg::OpenFromFile(const QString& path)
{
    QByteArray bytes;
    QString reason;
    if (!ReadFileBounded(path, kTextFileByteLimit, &bytes, &reason)) {
        ShowWarning(LoadString(41025) + u' ' + reason);
        return false;
    }
    const bool rtf = bytes.trimmed().startsWith("{\\rtf");
    QString text;
    if (!rtf && !DecodePlainText(bytes, text)) {
        ShowWarning(LoadString(41026));
        return false;
    }

    const bool ready = std::exchange(m_ready, false);
    {
        const QSignalBlocker blocker(m_text);
        if (rtf) {
            ReadRtf(QString::fromLatin1(bytes), *m_text->document());
        } else {
            m_text->setPlainText(text);
            QTextCursor all(m_text->document());
            all.select(QTextCursor::Document);
            QTextCharFormat format;
            format.setFontFamilies({font().family()});
            SetSize(format, kDefaultPointSize);
            format.setForeground(ForeColour(ForeIndexAt(std::max(0, m_fore->currentIndex()))));
            all.mergeCharFormat(format);
        }
        if (m_text->CharacterLimit() > 0 && m_text->CharacterCount() > m_text->CharacterLimit()) {
            QTextCursor cut(m_text->document());
            cut.setPosition(m_text->CharacterLimit());
            cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            cut.removeSelectedText();
        }
    }
    // Text in a colour the screen cannot show takes the first colour of the list.
    const QVector<int> offered = ForeColourIndexes(m_zone.ColourDepth());
    bool foreign = false;
    for (QTextBlock block = m_text->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QColor colour = format.foreground().style() == Qt::NoBrush
                                      ? QColor(Qt::black)
                                      : format.foreground().color();
            if (!offered.contains(ColourIndexOf(colour, kForeColourThreshold)))
                foreign = true;
        }
    }
    m_ready = ready;
    if (foreign) {
        m_fore->setCurrentIndex(0);
        const QSignalBlocker blocker(m_text);
        QTextCursor all(m_text->document());
        all.select(QTextCursor::Document);
        QTextCharFormat format;
        format.setForeground(ForeColour(ForeIndexAt(0)));
        all.mergeCharFormat(format);
    }
    SaveToZone(0);
    OnSelectionChanged();
    return true;
}

bool CTextEditorDlg::InsertPicture(const QImage& picture)
{
    if (picture.isNull() || m_text->Room() < 1)
        return false;
    const LedRect area = m_zone.WindowRect();
    QImage fitted = picture.convertToFormat(QImage::Format_RGB32);
    if (fitted.width() > area.Width() || fitted.height() > area.Height())
        fitted = fitted.scaled(std::max(1, area.Width()), std::max(1, area.Height()),
                               Qt::KeepAspectRatio, Qt::SmoothTransformation);
    ReduceToScreenColours(fitted, m_zone.ColourDepth());
    const QUrl name(QStringLiteral("lumivant-picture-%1").arg(++m_pictureCount));
    m_text->document()->addResource(QTextDocument::ImageResource, name, fitted);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(fitted.width());
    format.setHeight(fitted.height());
    m_text->textCursor().insertImage(format);
    return true;
}

void CTextEditorDlg::OnSaveFile()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      tr("Rich text (*.rtf);;Plain text (*.txt)"));
    if (!path.isEmpty())
        SaveToFile(path);
    m_text->setFocus();
}

void CTextEditorDlg::OnOpenFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      tr("Rich text (*.rtf);;Plain text (*.txt)"));
    if (!path.isEmpty())
        OpenFromFile(path);
    m_text->setFocus();
}

void CTextEditorDlg::OnInsertImage()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), QString(),
        tr("Pictures (*.bmp *.gif *.tiff *.tif *.jpg *.jpeg *.ico *.png)"));
    if (path.isEmpty())
        return;
    // A FIFO or a device would block the reader: only a regular file is opened.
    QString reason;
    if (!IsSafeNamedFile(path, &reason)) {
        ShowWarning(LoadString(41025) + u' ' + reason);
        return;
    }
    QImageReader reader(path);
    // A picture the zone cannot show at its size is read only as large as it can be.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kPictureMaxPixels || size.height() > kPictureMaxPixels))
        reader.setScaledSize(
            size.scaled(kPictureMaxPixels, kPictureMaxPixels, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.isNull()) {
        ShowWarning(LoadString(41025));
        return;
    }
    InsertPicture(picture);
    m_text->setFocus();
}

void CTextEditorDlg::OnLineSpace()
{
    CLineSpaceDlg dialog({m_zone.GetLineSpace(), m_zone.GetTopSpace()},
                         m_zone.WindowRect().Height(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const LineSpacing spacing = dialog.Result();
    m_writing = true;
    m_doc.EditObject(m_zone, RefreshCode::Content, true, [&] {
        m_zone.SetLineSpace(spacing.lineSpace);
        m_zone.SetTopSpace(spacing.topSpace);
    });
    m_writing = false;
    m_text->setFocus();
}

void CTextEditorDlg::ShowHint(const QString& text)
{
    m_hint->setText(text);
    emit statusHint(text);
}

QString CTextEditorDlg::StatusHint() const
{
    return m_hint->text();
}

void CTextEditorDlg::UpdateToolTip()
{
    if (m_zone.GetKind() == KindText)
        m_text->setToolTip(
            NumberedText(43100, {m_text->CharacterCount(), kTextZoneCharacterLimit}));
    else
        m_text->setToolTip(LoadString(43117));
}

void CTextEditorDlg::UpdateLedPreview()
{
    const int pages = m_zone.GetPageCount();
    m_pageCount->setText(pages > 0 ? NumberedText(41021, {1, pages}) : QString());
    // The first page as the card shows it (text in colours the screen lacks stays dark),
    // unless the person asked for the colours it was designed in.
    const QImage image = ZonePagePicture(m_zone, 0, CSignViewOptions::Instance().Form());
    if (image.isNull()) {
        m_ledPage->clear();
        return;
    }
    // Whole pixels only, so every LED stays a sharp square.
    const int room = std::max(width() - 8, image.width());
    const int zoom = std::clamp(room / std::max(1, image.width()), 1, 8);
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    m_ledPage->setPixmap(pixmap);
    m_ledPage->setFixedHeight(pixmap.height());
}

void CTextEditorDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The LED page takes the largest whole zoom the new width allows.
    UpdateLedPreview();
}

void CTextEditorDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslateUi();
        FillColourLists();
        OnSelectionChanged();
        UpdateToolTip();
        UpdateLedPreview();
    }
    QWidget::changeEvent(event);
}

void CTextEditorDlg::retranslateUi()
{
    m_fore->setToolTip(LoadString(43119));
    m_back->setToolTip(LoadString(43120));
    m_face->setToolTip(tr("Font"));
    m_size->setToolTip(tr("Font size"));
    m_bold->setToolTip(tr("Bold"));
    m_italic->setToolTip(tr("Italic"));
    m_underline->setToolTip(tr("Underline"));
    m_alignLeft->setToolTip(tr("Align Left"));
    m_alignCenter->setToolTip(tr("Center"));
    m_alignRight->setToolTip(tr("Align Right"));
    m_alignTop->setToolTip(tr("Align Top"));
    m_alignMiddle->setToolTip(tr("Middle"));
    m_alignBottom->setToolTip(tr("Align Bottom"));
    m_saveFile->setToolTip(tr("Save to file"));
    m_openFile->setToolTip(tr("Open from file"));
    m_insertImage->setToolTip(tr("Insert Image"));
    m_lineSpace->setToolTip(tr("Line Space"));
    for (QAction* action : m_toolBar->actions())
        action->setText(action->toolTip());
}
