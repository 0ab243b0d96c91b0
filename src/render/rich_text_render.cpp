#include "render/rich_text_render.h"

#include "render/led_paint.h"
#include "render/rtf_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// One rendering at a time per thread: drawing a document may come back here (a picture's
// resource, a layout callback); zones on other threads render on their own.
thread_local bool t_rendering = false;

class RenderGuard
{
public:
    RenderGuard() : m_owner(!std::exchange(t_rendering, true)) {}
    ~RenderGuard()
    {
        if (m_owner)
            t_rendering = false;
    }
    bool Owner() const { return m_owner; }

private:
    bool m_owner;
};

void ApplySpacing(QTextDocument& document, int spaceBefore, int linePitch)
{
    if (spaceBefore == 0 && linePitch == 0)
        return;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(std::clamp(spaceBefore, 0, 512));
        if (linePitch > 0)
            format.setLineHeight(std::min(linePitch, 512), QTextBlockFormat::FixedHeight);
        else
            format.setLineHeight(0, QTextBlockFormat::SingleHeight);
        cursor.setBlockFormat(format);
    }
}

// Largest strip drawn, in pixels (128 MB at 4 bytes a pixel).
constexpr long long kMaxStripPixels = 32LL * 1024 * 1024;

int CappedLength(int length, int across)
{
    const long long cap = kMaxStripPixels / std::max(1, across);
    return static_cast<int>(std::min<long long>(length, cap));
}

// Drops the text past what the bitmaps could show: no line holds more characters than it
// has pixels across (the last one of each paragraph ends it), and no bitmap more lines
// than it has rows. Laying out megabytes of words that no page shows takes minutes.
void DropUnshownText(QTextDocument& document, long long linesShown, long long lineLength)
{
    const long long limit = linesShown * (lineLength + 1);
    if (document.characterCount() <= limit)
        return;
    QTextCursor cursor(&document);
    cursor.setPosition(static_cast<int>(limit));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// Rows left free above the text: glyphs of some faces reach above their line's box.
constexpr int kTopPad = kRichTextTopPad;

QImage DrawDocument(QTextDocument& document, int width, int height)
{
    QImage image = BlackImage(width, height);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    SetLedRenderHints(painter);
    painter.translate(0, kTopPad);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, QColor(QRgb(kRtfAutoColour)));
    context.clip = QRectF(0, -kTopPad, width, height);
    document.documentLayout()->draw(&painter, context);
    painter.end();
    return image;
}

} // namespace

int PrepareRichDocument(QTextDocument& document, int width, int height, int mode, int spaceBefore,
                        int linePitch, int maxLines)
{
    if (mode == RichTextSingleLine)
        mode = RichTextWideStrip;
    if (mode != RichTextWideStrip && mode != RichTextTallStrip)
        mode = RichTextLines;
    document.setDocumentMargin(0);
    document.setUndoRedoEnabled(false);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(mode == RichTextWideStrip ? QTextOption::NoWrap
                                                 : QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    const int lineLimit = std::clamp(maxLines, 0, kMaxStripLength + 1);
    if (mode == RichTextWideStrip)
        DropUnshownText(document, height * 3 / 2, kMaxStripLength);
    else
        DropUnshownText(document, mode == RichTextLines ? lineLimit : kMaxStripLength * 3 / 2,
                        width);
    if (mode != RichTextLines)
        ApplySpacing(document, spaceBefore, linePitch);
    if (mode == RichTextWideStrip) {
        document.setTextWidth(-1);
        const int ideal = static_cast<int>(std::ceil(document.idealWidth()));
        document.setTextWidth(
            CappedLength(std::clamp(ideal, width, kMaxStripLength), height * 3 / 2));
    } else {
        document.setTextWidth(width);
    }
    return mode;
}

std::vector<QImage> RenderRichDocument(int width, int height, int mode, QTextDocument& document,
                                       int spaceBefore, int linePitch, int maxLines)
{
    std::vector<QImage> out;
    if (width <= 0 || height <= 0 || width > kMaxStripLength || height > kMaxStripLength)
        return out;
    RenderGuard guard;
    if (!guard.Owner())
        return out;
    mode = PrepareRichDocument(document, width, height, mode, spaceBefore, linePitch, maxLines);
    const int lineLimit = std::clamp(maxLines, 0, kMaxStripLength + 1);
    if (mode == RichTextWideStrip) {
        const int stripWidth = static_cast<int>(document.textWidth());
        out.push_back(DrawDocument(document, stripWidth, height * 3 / 2));
        return out;
    }

    if (mode == RichTextTallStrip) {
        const int textHeight = static_cast<int>(std::ceil(document.size().height()));
        const int stripHeight = std::clamp(textHeight, height, kMaxStripLength);
        out.push_back(
            DrawDocument(document, width, std::min(stripHeight * 3 / 2, kMaxStripLength * 3 / 2)));
        return out;
    }

    // One bitmap per line: each line is copied alone into a document of its own, with its
    // paragraph's alignment, and drawn there, so that nothing of its neighbours shows.
    // Paragraphs are laid out one by one as they are reached (asking for a paragraph's box
    // lays out the document up to it), so that text past the last line drawn costs nothing.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        document.documentLayout()->blockBoundingRect(block);
        const QTextLayout* lines = block.layout();
        if (!lines)
            continue;
        const Qt::Alignment alignment = block.blockFormat().alignment();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            if (line.textLength() <= 0)
                continue;
            QTextCursor cursor(&document);
            cursor.setPosition(block.position() + line.textStart());
            cursor.setPosition(block.position() + line.textStart() + line.textLength(),
                               QTextCursor::KeepAnchor);
            QTextDocument single;
            single.setDocumentMargin(0);
            single.setUndoRedoEnabled(false);
            QTextOption singleOption = single.defaultTextOption();
            singleOption.setWrapMode(QTextOption::NoWrap);
            single.setDefaultTextOption(singleOption);
            QTextCursor target(&single);
            target.insertFragment(cursor.selection());
            QTextBlockFormat format;
            format.setAlignment(alignment);
            target.select(QTextCursor::Document);
            target.setBlockFormat(format);
            // Pictures travel by name: hand them over.
            for (QTextBlock b = single.begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat charFormat = it.fragment().charFormat();
                    if (!charFormat.isImageFormat())
                        continue;
                    const QUrl name(charFormat.toImageFormat().name());
                    single.addResource(QTextDocument::ImageResource, name,
                                       document.resource(QTextDocument::ImageResource, name));
                }
            }
            single.setTextWidth(width);
            const int lineHeight = static_cast<int>(std::ceil(line.height())) + kTopPad;
            out.push_back(DrawDocument(single, width, std::max(height * 3 / 2, lineHeight)));
            if (static_cast<int>(out.size()) >= lineLimit)
                return out;
        }
    }
    return out;
}

std::vector<QImage> RenderRichText(int width, int height, int mode, const QString& rtf,
                                   int spaceBefore, int linePitch, int maxLines)
{
    QTextDocument document;
    ReadRtf(rtf, document);
    return RenderRichDocument(width, height, mode, document, spaceBefore, linePitch, maxLines);
}
