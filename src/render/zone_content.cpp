#include "render/zone_content.h"

#include "base/bounded_file.h"
#include "model/image_key_params.h"
#include "model/image_zone.h"
#include "model/rich_text_base.h"
#include "platform/font_mapping.h"
#include "render/dither.h"
#include "render/picture_reader.h"
#include "render/project_check.h"
#include "render/rtf_reader.h"
#include "render/rtf_writer.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

#include <set>

namespace {

// Missing glyphs named in one warning at most; more are counted.
constexpr int kMaxNamedGlyphs = 8;
// Pixel height of the font the glyph check asks; the answer does not depend on it.
constexpr int kGlyphCheckHeight = 16;

CRichTextBase* RichTextZone(CEffectZone& zone, QString& error)
{
    if (zone.GetKind() == KindText || zone.GetKind() == KindAnimate)
        return static_cast<CRichTextBase*>(&zone);
    error = QStringLiteral("'%1' is not a text or animate zone.").arg(zone.GetName());
    return nullptr;
}

bool CheckLength(const QString& text, QString& error)
{
    if (text.size() <= CZoneContent::kMaxTextLength)
        return true;
    error = QStringLiteral("The text is too long: %1 characters, a zone holds at most %2.")
                .arg(text.size())
                .arg(CZoneContent::kMaxTextLength);
    return false;
}

// The format of the first character, or of the first paragraph when it has no text.
QTextCharFormat FirstCharFormat(const QTextDocument& document)
{
    const QTextBlock first = document.begin();
    for (auto it = first.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.isValid() && !fragment.charFormat().isImageFormat())
            return fragment.charFormat();
    }
    return first.charFormat();
}

QString FamilyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

// Characters of the document that no font reachable from their face can draw.
void FindMissingGlyphs(const QTextDocument& document, QStringList& warnings)
{
    std::set<char32_t> missing;
    QString firstFace;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.charFormat().isImageFormat())
                continue;
            const QString face = FamilyOf(fragment.charFormat());
            const QFontMetrics metrics(LedFont(face, kGlyphCheckHeight));
            for (char32_t c : fragment.text().toUcs4()) {
                if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control ||
                    c == QChar::ObjectReplacementCharacter || missing.count(c))
                    continue;
                if (!metrics.inFontUcs4(c)) {
                    if (missing.empty())
                        firstFace = face;
                    missing.insert(c);
                }
            }
        }
    }
    if (missing.empty())
        return;
    QStringList named;
    for (char32_t c : missing) {
        if (named.size() == kMaxNamedGlyphs)
            break;
        named << QStringLiteral("'%1' (U+%2)")
                     .arg(QString::fromUcs4(&c, 1), QString::number(static_cast<uint>(c), 16)
                                                        .toUpper()
                                                        .rightJustified(4, u'0'));
    }
    QString text = QStringLiteral("No installed font has a glyph for %1").arg(named.join(", "));
    if (static_cast<int>(missing.size()) > named.size())
        text += QStringLiteral(" and %1 more").arg(missing.size() - named.size());
    text += QStringLiteral(" (face '%1'); they would be drawn as boxes.").arg(firstFace);
    warnings << text;
}

} // namespace

QString CZoneContent::UnescapeLineBreaks(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            if (text[i + 1] == u'n') {
                result += u'\n';
                ++i;
                continue;
            }
            if (text[i + 1] == u'\\') {
                result += u'\\';
                ++i;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

bool CZoneContent::SetText(CEffectZone& zone, const QString& text, QString& error)
{
    CRichTextBase* richText = RichTextZone(zone, error);
    if (!richText || !CheckLength(text, error))
        return false;
    QTextDocument document;
    ReadRtf(richText->GetRtf(), document);
    const QTextCharFormat charFormat = FirstCharFormat(document);
    const QTextBlockFormat blockFormat = document.begin().blockFormat();

    QTextDocument replaced;
    QTextCursor cursor(&replaced);
    cursor.setBlockFormat(blockFormat);
    cursor.setBlockCharFormat(charFormat);
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normalised.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(blockFormat, charFormat);
        cursor.insertText(lines[i], charFormat);
    }
    richText->SetRtf(WriteRtf(replaced));
    return true;
}

bool CZoneContent::SetRtf(CEffectZone& zone, const QString& rtf, QString& error)
{
    CRichTextBase* richText = RichTextZone(zone, error);
    if (!richText)
        return false;
    QTextDocument document;
    if (!rtf.trimmed().startsWith(QLatin1String("{\\rtf")) || !ReadRtf(rtf, document)) {
        error = QStringLiteral("The file is not an RTF document.");
        return false;
    }
    if (!CheckLength(document.toPlainText(), error))
        return false;
    richText->SetRtf(rtf);
    return true;
}

bool CZoneContent::SetImage(CEffectZone& zone, const QString& path, QString& error)
{
    if (zone.GetKind() != KindImage) {
        error = QStringLiteral("'%1' is not an image zone.").arg(zone.GetName());
        return false;
    }
    const QFileInfo file(path);
    // A FIFO, a device or a folder is never opened: the reader would block or never end.
    QString reason;
    if (!IsSafeNamedFile(path, &reason)) {
        error = file.exists() ? CannotReadText(path, reason)
                              : QStringLiteral("There is no picture file '%1'.").arg(path);
        return false;
    }
    const QString stored = file.absoluteFilePath();
    if (stored.size() >= ImageKeyParams::kPathCapacity) {
        error = QStringLiteral("The picture's path is longer than %1 characters: '%2'.")
                    .arg(ImageKeyParams::kPathCapacity - 1)
                    .arg(stored);
        return false;
    }
    QSize size;
    if (!ProbePicture(stored, size, error))
        return false;
    static_cast<CImageZone&>(zone).Key().sourcePath = stored;
    return true;
}

bool CZoneContent::SetDitheredImage(CEffectZone& zone, const QString& path, const QString& folder,
                                    QString& error)
{
    if (zone.GetKind() != KindImage)
        return SetImage(zone, path, error);
    const LedRect rect = zone.WindowRect();
    QString written;
    return WriteDitheredPicture(path, rect.Width(), rect.Height(), zone.ColourDepth(),
                                static_cast<CImageZone&>(zone).Key(), folder, written, error) &&
           SetImage(zone, written, error);
}

QString CZoneContent::PlainText(const CEffectZone& zone)
{
    if (zone.GetKind() != KindText && zone.GetKind() != KindAnimate)
        return {};
    QTextDocument document;
    ReadRtf(static_cast<const CRichTextBase&>(zone).GetRtf(), document);
    QString text = document.toPlainText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

int CZoneContent::Render(CEffectZone& zone, QStringList& warnings)
{
    zone.Prepare(RenderForm::Display);
    const int pages = zone.GetPageCount();
    if (zone.GetKind() == KindText || zone.GetKind() == KindAnimate) {
        if (zone.GetKind() == KindText && pages > 1)
            warnings << QStringLiteral("The text no longer fits one page: it needs %1 pages.")
                            .arg(pages);
        QTextDocument document;
        ReadRtf(static_cast<CRichTextBase&>(zone).GetRtf(), document);
        FindMissingGlyphs(document, warnings);
    }
    // What the sign will show otherwise than meant.
    ProjectFindings findings;
    CheckProjectObject(zone, findings);
    for (const ProjectFinding& finding : findings) {
        if (finding.kind >= FindingKind::KeyColourLoss)
            warnings << finding.text;
    }
    return pages;
}
