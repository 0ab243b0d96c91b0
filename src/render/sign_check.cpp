#include "render/sign_check.h"

#include "base/string_table.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/image_zone.h"
#include "model/source_path.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "platform/font_mapping.h"
#include "render/led_paint.h"
#include "render/picture_reader.h"
#include "render/rich_text_render.h"
#include "render/rtf_reader.h"
#include "render/system_text.h"
#include "render/zone_renderers.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <set>
#include <tuple>
#include <unordered_set>

namespace {

// Characters of a text quoted in a finding.
constexpr int kSampleLength = 16;
// A share of a picture's lit pixels worth a word, and the fewest pixels that make one.
constexpr int kLossPercent = 10;
constexpr int kFewestLostPixels = 8;
// A picture with more colours than this is taken for a photo.
constexpr int kPhotoColours = 64;
// A photo collapses when this share of it lies in blocks of one colour whose tones spread
// at least this far (the middle 80 % of their grey levels).
constexpr int kCollapsedPercent = 75;
constexpr int kToneSpread = 96;

int Lit(int channel)
{
    return channel >= 2 ? 255 : 0;
}

// A colour as the card shows it on a screen of the depth.
QRgb CardColour(const QColor& colour, int depth)
{
    return qRgb(Lit(colour.red()), depth >= 2 ? Lit(colour.green()) : 0,
                depth >= 3 ? Lit(colour.blue()) : 0);
}

// "Black", "Green", or "Blue (0,0,128)" for a colour between the pure ones.
QString ColourName(const QColor& colour)
{
    const auto pure = [](int channel) { return channel == 0 || channel == 255; };
    const int index = (colour.red() > 127 ? 1 : 0) | (colour.green() > 127 ? 2 : 0) |
                      (colour.blue() > 127 ? 4 : 0);
    QString name = LoadString(42000 + index);
    if (!pure(colour.red()) || !pure(colour.green()) || !pure(colour.blue()))
        name +=
            QStringLiteral(" (%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
    return name;
}

QString ColourTextOf(std::uint32_t colorRef)
{
    return QStringLiteral("%1,%2,%3")
        .arg(colorRef & 0xFF)
        .arg((colorRef >> 8) & 0xFF)
        .arg((colorRef >> 16) & 0xFF);
}

void AddSample(QString& sample, const QString& text)
{
    if (sample.size() > kSampleLength)
        return;
    QString words = text.simplified();
    words.remove(QChar::ObjectReplacementCharacter);
    if (words.isEmpty())
        return;
    if (!sample.isEmpty())
        sample += u' ';
    sample += words;
    if (sample.size() > kSampleLength)
        sample = sample.left(kSampleLength) + QStringLiteral("...");
}

bool HasVisibleCharacters(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return !c.isSpace() && c != QChar::ObjectReplacementCharacter &&
               c.category() != QChar::Other_Control && c.category() != QChar::Other_Format;
    });
}

// ---- Rich text: colours, pictures and faces.

struct TextFacts
{
    QString unseenColour;
    QString unseenSample;
    QString barColour;
    QString barSample;
    int undrawablePictures = 0;
    std::vector<QString> faces;
};

TextFacts ReadTextFacts(const QString& rtf, int depth)
{
    TextFacts facts;
    QTextDocument document;
    RtfReadReport report;
    ReadRtf(rtf, document, &report);
    facts.undrawablePictures = report.undrawablePictures;
    std::set<QString> faces;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat() || !HasVisibleCharacters(fragment.text()))
                continue;
            const QStringList families = format.fontFamilies().toStringList();
            if (!families.isEmpty() && faces.insert(families.front()).second)
                facts.faces.push_back(families.front());
            const QColor fore = format.foreground().style() == Qt::NoBrush
                                    ? QColor(QRgb(kRtfAutoColour))
                                    : format.foreground().color();
            const QColor back = format.background().style() == Qt::NoBrush
                                    ? QColor(Qt::black)
                                    : format.background().color();
            const QRgb foreOnCard = CardColour(fore, depth);
            const QRgb backOnCard = CardColour(back, depth);
            if (foreOnCard != backOnCard)
                continue;
            if (qRgb(0, 0, 0) == backOnCard) {
                if (facts.unseenColour.isEmpty())
                    facts.unseenColour = ColourName(fore);
                AddSample(facts.unseenSample, fragment.text());
            } else {
                if (facts.barColour.isEmpty())
                    facts.barColour = ColourName(QColor(backOnCard));
                AddSample(facts.barSample, fragment.text());
            }
        }
    }
    return facts;
}

// ---- Rich text: what the layout leaves out.

struct LayoutFacts
{
    int lines = 0;       // lines with ink
    int hiddenLines = 0; // lines (partly) below what a scrolling strip shows
    int tallestLine = 0; // ink height of the tallest line
    int stripWidth = 0;  // the text's width in a one-line strip
};

// The ink of one laid-out line relative to its baseline: rows top..bottom (inclusive).
bool LineInk(const QTextBlock& block, const QTextLine& line, int& top, int& bottom)
{
    bool any = false;
    top = 0;
    bottom = 0;
    const int lineStart = line.textStart();
    const int lineEnd = lineStart + line.textLength();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = std::max(lineStart, fragment.position() - block.position());
        const int to =
            std::min(lineEnd, fragment.position() - block.position() + fragment.length());
        if (from >= to)
            continue;
        const QTextCharFormat format = fragment.charFormat();
        int inkTop = 0;
        int inkBottom = 0;
        if (format.isImageFormat()) {
            inkTop = -static_cast<int>(format.toImageFormat().height());
            inkBottom = -1;
        } else {
            const QString text =
                fragment.text().mid(from - (fragment.position() - block.position()), to - from);
            if (!HasVisibleCharacters(text))
                continue;
            const QRect ink = QFontMetrics(format.font()).tightBoundingRect(text);
            if (ink.isEmpty())
                continue;
            inkTop = ink.top();
            inkBottom = ink.bottom();
        }
        top = any ? std::min(top, inkTop) : inkTop;
        bottom = any ? std::max(bottom, inkBottom) : inkBottom;
        any = true;
    }
    return any;
}

LayoutFacts ReadLayoutFacts(const QString& rtf, int width, int height, int mode, int spaceBefore,
                            int linePitch)
{
    LayoutFacts facts;
    QTextDocument document;
    ReadRtf(rtf, document);
    mode = PrepareRichDocument(document, width, height, mode, spaceBefore, linePitch);
    facts.stripWidth = static_cast<int>(std::ceil(document.idealWidth()));
    std::vector<std::pair<int, int>> inks; // top and bottom rows in the document
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF box = document.documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        if (!layout)
            continue;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            int top = 0;
            int bottom = 0;
            if (!LineInk(block, line, top, bottom))
                continue;
            const int baseline = static_cast<int>(box.top() + line.y() + line.ascent());
            inks.emplace_back(baseline + top, baseline + bottom);
            facts.tallestLine = std::max(facts.tallestLine, bottom - top + 1);
        }
    }
    facts.lines = static_cast<int>(inks.size());
    if (mode == RichTextWideStrip && !inks.empty()) {
        // The pages take the strip's rows from its first ink down, one window high.
        int first = inks.front().first;
        for (const auto& ink : inks)
            first = std::min(first, ink.first);
        for (const auto& ink : inks)
            facts.hiddenLines += ink.second > first + height - 1 ? 1 : 0;
    }
    return facts;
}

// ---- Pictures.

struct PictureFacts
{
    bool read = false;
    int keyedPercent = 0; // of the content's lit pixels, turned dark by the key colour
    int keyedPixels = 0;
    int unshownPercent = 0; // of the lit pixels, in channels the screen lacks
    int unshownPixels = 0;
    bool collapses = false;
};

int Luma(QRgb pixel)
{
    return (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
}

// Keyed pixels (any value but 0) joined to the picture's edge through keyed pixels: a
// removed background.
std::vector<unsigned char> KeyedBackground(const std::vector<unsigned char>& keyed, int width,
                                           int height)
{
    std::vector<unsigned char> background(keyed.size(), 0);
    std::vector<int> pending;
    const auto visit = [&](int x, int y) {
        const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + x;
        if (keyed[at] && !background[at]) {
            background[at] = 1;
            pending.push_back(static_cast<int>(at));
        }
    };
    for (int x = 0; x < width; ++x) {
        visit(x, 0);
        visit(x, height - 1);
    }
    for (int y = 0; y < height; ++y) {
        visit(0, y);
        visit(width - 1, y);
    }
    while (!pending.empty()) {
        const int at = pending.back();
        pending.pop_back();
        const int x = at % width;
        const int y = at / width;
        if (x > 0)
            visit(x - 1, y);
        if (x + 1 < width)
            visit(x + 1, y);
        if (y > 0)
            visit(x, y - 1);
        if (y + 1 < height)
            visit(x, y + 1);
    }
    return background;
}

PictureFacts ReadPictureFacts(const QString& path, int width, int height, const ImageKeyParams& key,
                              int depth)
{
    PictureFacts facts;
    PictureFrames picture;
    QString reason;
    if (!ReadPictureFrames(path, width, height, 1, picture, reason))
        return facts;
    facts.read = true;
    const QImage& frame = picture.frames.front();
    const int kr = static_cast<int>(key.keyColour & 0xFF);
    const int kg = static_cast<int>((key.keyColour >> 8) & 0xFF);
    const int kb = static_cast<int>((key.keyColour >> 16) & 0xFF);
    const auto within = [&](int value, int centre) {
        return centre - static_cast<long long>(key.tolerance) <= value &&
               value <= centre + static_cast<long long>(key.tolerance);
    };
    const auto above = [&](int value) { return value > key.pixelLimit; };
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<unsigned char> keyed(count, 0);
    std::unordered_set<QRgb> colours;
    // Per colour the card shows: the grey levels of the pixels that become it.
    std::array<std::array<int, 256>, 8> tones{};
    std::array<int, 8> members{};
    int lit = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x] & 0xFFFFFF;
            if (colours.size() <= static_cast<size_t>(kPhotoColours))
                colours.insert(pixel);
            const int r = qRed(pixel);
            const int g = qGreen(pixel);
            const int b = qBlue(pixel);
            if (within(r, kr) && within(g, kg) && within(b, kb)) {
                // Taken by the key; lost only where it would have lit.
                keyed[static_cast<size_t>(y) * static_cast<size_t>(width) + x] =
                    above(r) || above(g) || above(b) ? 2 : 1;
                continue;
            }
            const int shown = (above(r) ? 1 : 0) | (depth >= 2 && above(g) ? 2 : 0) |
                              (depth >= 3 && above(b) ? 4 : 0);
            ++tones[static_cast<size_t>(shown)][static_cast<size_t>(Luma(pixel))];
            ++members[static_cast<size_t>(shown)];
            if (!above(r) && !above(g) && !above(b))
                continue;
            ++lit;
            if (shown == 0)
                ++facts.unshownPixels;
        }
    }
    const std::vector<unsigned char> background = KeyedBackground(keyed, width, height);
    for (size_t i = 0; i < count; ++i)
        facts.keyedPixels += keyed[i] == 2 && !background[i] ? 1 : 0;
    const int content = lit + facts.keyedPixels;
    if (content > 0) {
        facts.keyedPercent = facts.keyedPixels * 100 / content;
        facts.unshownPercent = lit > 0 ? facts.unshownPixels * 100 / lit : 0;
    }
    if (colours.size() > static_cast<size_t>(kPhotoColours)) {
        long long collapsed = 0;
        for (size_t c = 0; c < tones.size(); ++c) {
            const int n = members[c];
            if (n == 0)
                continue;
            int seen = 0;
            int low = -1;
            int high = 255;
            for (int level = 0; level < 256; ++level) {
                seen += tones[c][static_cast<size_t>(level)];
                if (low < 0 && seen * 10 >= n)
                    low = level;
                if (seen * 10 >= n * 9) {
                    high = level;
                    break;
                }
            }
            if (high - low >= kToneSpread)
                collapsed += n;
        }
        facts.collapses = collapsed * 100 >= static_cast<long long>(count) * kCollapsedPercent;
    }
    return facts;
}

QString ColourTypeName(int depth)
{
    return LoadString(41017 + std::clamp(depth, 1, 3));
}

} // namespace

struct CSignChecker::Caches
{
    std::map<std::pair<QString, int>, TextFacts> text;
    std::map<std::tuple<QString, int, int, int, int, int>, LayoutFacts> layout;
    std::map<std::tuple<QString, qint64, int, int, std::uint32_t, int, int, int>, PictureFacts>
        pictures;
    std::map<QString, bool> faces;
};

CSignChecker::CSignChecker() : m_caches(std::make_unique<Caches>()) {}

CSignChecker::~CSignChecker() = default;

void CSignChecker::CheckFace(const QString& face, std::vector<Finding>& findings)
{
    const QString name = face.trimmed();
    if (name.isEmpty())
        return;
    const auto known = m_caches->faces.find(name);
    if (known != m_caches->faces.end() && known->second)
        return;
    const FaceOnThisMachine found = FindFace(name);
    const bool fine = found.installed || found.stoodIn;
    m_caches->faces[name] = fine;
    if (!fine)
        findings.push_back({FindingKind::MissingFace, SystemText(61619, {name, found.used})});
}

void CSignChecker::CheckZone(const CEffectZone& zone, std::vector<Finding>& findings)
{
    const LedRect window = zone.WindowRect();
    const int width = window.Width();
    const int height = window.Height();
    const int depth = zone.ColourDepth();
    if (width <= 0 || height <= 0)
        return;
    switch (zone.GetKind()) {
    case KindText:
    case KindAnimate: {
        const auto& rich = static_cast<const CRichTextBase&>(zone);
        auto textIt = m_caches->text.find({rich.GetRtf(), depth});
        if (textIt == m_caches->text.end())
            textIt = m_caches->text
                         .emplace(std::make_pair(rich.GetRtf(), depth),
                                  ReadTextFacts(rich.GetRtf(), depth))
                         .first;
        const TextFacts& text = textIt->second;
        if (!text.unseenColour.isEmpty())
            findings.push_back({FindingKind::UnshownColour,
                                SystemText(61612, {text.unseenColour, text.unseenSample})});
        if (!text.barColour.isEmpty())
            findings.push_back(
                {FindingKind::UnshownColour, SystemText(61613, {text.barColour, text.barSample})});
        if (text.undrawablePictures > 0)
            findings.push_back({FindingKind::UndrawablePicture,
                                SystemText(61617, {QString::number(text.undrawablePictures)})});
        for (const QString& face : text.faces)
            CheckFace(face, findings);

        const bool animate = zone.GetKind() == KindAnimate;
        const int mode =
            animate ? RichTextWideStrip : TextLayoutMode(zone.GetAction(), zone.GetHold());
        if (mode == RichTextTallStrip)
            break;
        const auto layoutKey = std::make_tuple(rich.GetRtf(), width, height, mode,
                                               rich.GetTopSpace(), rich.GetLineSpace());
        auto layoutIt = m_caches->layout.find(layoutKey);
        if (layoutIt == m_caches->layout.end())
            layoutIt =
                m_caches->layout
                    .emplace(layoutKey, ReadLayoutFacts(rich.GetRtf(), width, height, mode,
                                                        rich.GetTopSpace(), rich.GetLineSpace()))
                    .first;
        const LayoutFacts& layout = layoutIt->second;
        if (animate) {
            if (layout.hiddenLines > 0 || layout.stripWidth > width)
                findings.push_back(
                    {FindingKind::NeverShown,
                     SystemText(61616, {QString::number(width), QString::number(height)})});
        } else if (mode == RichTextWideStrip) {
            if (layout.hiddenLines > 0)
                findings.push_back({FindingKind::NeverShown,
                                    SystemText(61614, {QString::number(layout.hiddenLines),
                                                       QString::number(layout.lines)})});
        } else {
            const bool fixedPitch = rich.GetTopSpace() != 0 || rich.GetLineSpace() != 0;
            const int tallest =
                fixedPitch && rich.GetLineSpace() > 0 ? rich.GetLineSpace() : layout.tallestLine;
            if (layout.lines > 0 && tallest > height)
                findings.push_back(
                    {FindingKind::NeverShown,
                     SystemText(61615, {QString::number(tallest), QString::number(height)})});
        }
        break;
    }
    case KindImage: {
        const auto& image = static_cast<const CImageZone&>(zone);
        const ImageKeyParams& key = image.Key();
        if (key.sourcePath.isEmpty())
            break;
        const QString path = ResolveSourcePath(zone, key.sourcePath);
        const QFileInfo info(path);
        const auto pictureKey =
            std::make_tuple(path, info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1,
                            width, height, key.keyColour, key.tolerance, key.pixelLimit, depth);
        auto it = m_caches->pictures.find(pictureKey);
        if (it == m_caches->pictures.end())
            it = m_caches->pictures
                     .emplace(pictureKey, ReadPictureFacts(path, width, height, key, depth))
                     .first;
        const PictureFacts& picture = it->second;
        if (!picture.read)
            break;
        if (picture.keyedPixels >= kFewestLostPixels && picture.keyedPercent >= kLossPercent)
            findings.push_back(
                {FindingKind::KeyColourLoss,
                 SystemText(61610, {QString::number(picture.keyedPercent),
                                    ColourTextOf(key.keyColour), QString::number(key.tolerance)})});
        if (picture.unshownPixels >= kFewestLostPixels && picture.unshownPercent >= kLossPercent)
            findings.push_back({FindingKind::UnshownColour,
                                SystemText(61611, {QString::number(picture.unshownPercent),
                                                   ColourTypeName(depth)})});
        if (picture.collapses)
            findings.push_back({FindingKind::PhotoCollapse, SystemText(61618)});
        break;
    }
    case KindTable: {
        const auto& table = static_cast<const CTableZone&>(zone);
        QString unseen;
        QString sample;
        for (const TableCell& cell : table.Cells()) {
            CheckFace(cell.fontName, findings);
            if (!HasVisibleCharacters(cell.text))
                continue;
            const QColor fore = ColourFromColorRef(cell.foreColour);
            if (CardColour(fore, depth) != CardColour(ColourFromColorRef(cell.backColour), depth))
                continue;
            if (unseen.isEmpty())
                unseen = ColourName(fore);
            AddSample(sample, cell.text);
        }
        if (!unseen.isEmpty())
            findings.push_back({FindingKind::UnshownColour, SystemText(61612, {unseen, sample})});
        break;
    }
    case KindClock: {
        const ClockSettings& s = static_cast<const CClockZone&>(zone).Settings();
        if (s.titleShown && !s.title.isEmpty())
            CheckFace(s.titleFont, findings);
        break;
    }
    case KindTemperature:
        CheckFace(static_cast<const CTemperatureZone&>(zone).Settings().fontName, findings);
        break;
    case KindCountdown: {
        const CountdownSettings& s = static_cast<const CCountdownZone&>(zone).Settings();
        if (!s.title.isEmpty())
            CheckFace(s.titleFont, findings);
        break;
    }
    default:
        break;
    }
}
