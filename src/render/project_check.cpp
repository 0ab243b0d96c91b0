#include "render/project_check.h"

#include "base/bounded_file.h"
#include "base/string_table.h"
#include "model/animate_zone.h"
#include "model/clock_zone.h"
#include "model/countdown_zone.h"
#include "model/datetime_zone.h"
#include "model/image_zone.h"
#include "model/load_check.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/source_path.h"
#include "model/table_zone.h"
#include "model/temperature_zone.h"
#include "model/text_zone.h"
#include "platform/font_mapping.h"
#include "render/compile_layout.h"
#include "render/live_layout.h"
#include "render/renderer.h"
#include "render/rtf_reader.h"
#include "render/sign_check.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// The largest screen the panel setup accepts.
constexpr int kSetupMaxWidth = 8192;
constexpr int kSetupMaxHeight = 512;
// Characters listed in one missing-glyph finding.
constexpr int kListedCharacters = 8;

QString RectText(const LedRect& r)
{
    return QString::number(r.left) + u',' + QString::number(r.top) + u',' +
           QString::number(r.right) + u',' + QString::number(r.bottom);
}

// Whether the text engine finds a glyph for the character in the font or in one of its
// fallbacks; the answers are kept per font and character.
class CGlyphCoverage
{
public:
    bool Drawable(const QFont& font, char32_t character)
    {
        const auto key = std::make_pair(font.key(), character);
        const auto it = m_known.find(key);
        if (it != m_known.end())
            return it->second;
        QTextLayout layout(QString::fromUcs4(&character, 1), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        bool drawable = true;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            for (quint32 glyph : run.glyphIndexes())
                drawable = drawable && glyph != 0;
        }
        m_known.emplace(key, drawable);
        return drawable;
    }

    // The characters of the text that would show as boxes, each once.
    void Collect(const QFont& font, const QString& text, QList<char32_t>& missing)
    {
        for (char32_t character : text.toUcs4()) {
            if (!Worth(character) || missing.contains(character))
                continue;
            if (!Drawable(font, character))
                missing.append(character);
        }
    }

private:
    static bool Worth(char32_t character)
    {
        const QChar::Category category = QChar::category(character);
        return character != QChar::ObjectReplacementCharacter &&
               category != QChar::Separator_Space && category != QChar::Separator_Line &&
               category != QChar::Separator_Paragraph && category != QChar::Other_Control &&
               category != QChar::Other_Format;
    }

    std::map<std::pair<QString, char32_t>, bool> m_known;
};

QString CharacterList(const QList<char32_t>& characters)
{
    QStringList listed;
    for (qsizetype i = 0; i < characters.size() && i < kListedCharacters; ++i) {
        const char32_t c = characters[i];
        listed << QStringLiteral("U+%1 '%2'")
                      .arg(QString::number(c, 16).toUpper().rightJustified(4, u'0'),
                           QString::fromUcs4(&c, 1));
    }
    QString text = listed.join(QStringLiteral(", "));
    if (characters.size() > kListedCharacters)
        text += QStringLiteral(" and %1 more").arg(characters.size() - kListedCharacters);
    return text;
}

// As the live renderer picks its fonts.
QFont PreviewFont(int sizeIndex)
{
    return LedFont(PreviewFontFace(), PointsToPixels(ControllerFontFor(sizeIndex).previewPoints));
}

QFont PointFont(const QString& face, int points)
{
    return LedFont(face, PointsToPixels(std::clamp(points, 1, 500)));
}

// The content of a zone its findings depend on, as bytes: the same key, the same findings.
class CKeyBuilder
{
public:
    explicit CKeyBuilder(std::string& key) : m_key(key) { m_key.clear(); }
    CKeyBuilder& Int(long long value)
    {
        m_key.append(reinterpret_cast<const char*>(&value), sizeof value);
        return *this;
    }
    CKeyBuilder& Text(const QString& text)
    {
        Int(text.size());
        m_key.append(reinterpret_cast<const char*>(text.utf16()),
                     static_cast<size_t>(text.size()) * sizeof(char16_t));
        return *this;
    }

private:
    std::string& m_key;
};

// Writes the key into `out`; false for a zone whose findings are not kept per content.
bool ContentKey(const CEffectZone& zone, const LedRect& window, std::string& out)
{
    CKeyBuilder key(out);
    key.Int(zone.GetKind()).Int(window.Width()).Int(window.Height()).Int(zone.ColourDepth());
    switch (zone.GetKind()) {
    case KindText:
    case KindAnimate: {
        const auto& rich = static_cast<const CRichTextBase&>(zone);
        key.Int(zone.GetAction()).Int(zone.GetHold()).Int(rich.GetTopSpace());
        key.Int(rich.GetLineSpace()).Text(rich.GetRtf());
        break;
    }
    case KindImage: {
        const ImageKeyParams& k = static_cast<const CImageZone&>(zone).Key();
        key.Int(k.keyColour).Int(k.tolerance).Int(k.pixelLimit);
        key.Text(ResolveSourcePath(zone, k.sourcePath));
        break;
    }
    case KindTable: {
        const auto& table = static_cast<const CTableZone&>(zone);
        key.Int(table.RowCount()).Int(table.ColumnCount());
        for (const TableRow& row : table.Rows())
            key.Int(row.height);
        for (int width : table.ColumnWidths())
            key.Int(width);
        for (const TableCell& cell : table.Cells()) {
            key.Int(cell.foreColour).Int(cell.backColour).Int(cell.fontSize).Int(cell.bold);
            key.Int(cell.italic).Int(cell.underline).Text(cell.fontName).Text(cell.text);
        }
        break;
    }
    case KindDateTime: {
        const DateTimeSettings& s = static_cast<const CDateTimeZone&>(zone).Settings();
        key.Int(s.timeDifference).Int(s.oneLine).Int(s.size).Int(s.order).Text(s.text);
        for (int i = 0; i < DateTimeItemCount; ++i) {
            key.Int(s.enabled[i]).Int(s.x[i]).Int(s.row[i]).Int(s.colour[i]);
            key.Int(s.format[i]);
        }
        break;
    }
    case KindCountdown: {
        const CountdownSettings& s = static_cast<const CCountdownZone&>(zone).Settings();
        key.Int(s.target).Int(s.type).Int(s.format).Int(s.digitSize).Int(s.titleFontSize);
        for (int shown : s.show)
            key.Int(shown);
        key.Text(s.titleFont).Text(s.title);
        break;
    }
    case KindTemperature: {
        const TemperatureSettings& s = static_cast<const CTemperatureZone&>(zone).Settings();
        key.Int(s.sensor).Int(s.showTemperature).Int(s.showHumidity).Int(s.oneLine);
        key.Int(s.labelFontSize).Int(s.digitSize).Text(s.fontName);
        key.Text(s.temperatureLabel).Text(s.temperatureUnit).Text(s.humidityLabel);
        key.Text(s.humidityUnit);
        break;
    }
    case KindClock: {
        const ClockSettings& s = static_cast<const CClockZone&>(zone).Settings();
        key.Int(s.titleShown).Text(s.titleFont).Text(s.title);
        break;
    }
    default:
        return false;
    }
    return true;
}

class CTreeChecker
{
public:
    explicit CTreeChecker(ProjectFindings& findings)
        : m_findings(findings), m_effectCount(EffectCount()), m_now(RenderTime())
    {}

    // One object and what it holds: a screen, a program, a window or a zone.
    void CheckObject(const CProjectObject& object)
    {
        const int kind = object.GetKind();
        if (kind == KindScreen) {
            CheckScreen(static_cast<const CScreen&>(object));
        } else if (kind == KindProgram) {
            CheckProgram(static_cast<const CProgram&>(object));
        } else if (kind == KindWindow) {
            const auto& window = static_cast<const CPlayWindow&>(object);
            window.ForEachChild([&](const CProjectObject& zone) {
                if (IsZoneKind(zone.GetKind()))
                    CheckZone(static_cast<const CEffectZone&>(zone), window.WindowRect());
            });
        } else if (IsZoneKind(kind)) {
            const auto& zone = static_cast<const CEffectZone&>(object);
            CheckZone(zone, zone.WindowRect());
        }
    }

    void CheckScreen(const CScreen& screen)
    {
        CheckScreenOwn(screen);
        screen.ForEachChild([&](const CProjectObject& child) {
            if (child.GetKind() == KindProgram)
                CheckProgram(static_cast<const CProgram&>(child));
        });
    }

    void CheckScreenOwn(const CScreen& screen)
    {
        if (screen.Width() > kSetupMaxWidth || screen.Height() > kSetupMaxHeight)
            Add(FindingKind::SizeLimit, screen,
                QStringLiteral("the screen is %1 x %2; the panel setup allows at most %3 x %4")
                    .arg(screen.Width())
                    .arg(screen.Height())
                    .arg(kSetupMaxWidth)
                    .arg(kSetupMaxHeight));
    }

private:
    static int EffectCount()
    {
        QStringList names = LoadStringList(41003);
        while (!names.isEmpty() && names.last().isEmpty())
            names.removeLast();
        return static_cast<int>(names.size());
    }

    void Add(FindingKind kind, const CProjectObject& object, const QString& text)
    {
        if (m_capture) {
            m_capture->emplace_back(kind, text);
            return;
        }
        const auto& [path, place] = Named(object);
        m_findings.push_back({kind, path, text, place});
    }

    // The path and place of an object, from those of its parent; those of windows and what
    // holds them are kept, as every zone's findings start with them.
    std::pair<QString, QString> Named(const CProjectObject& object)
    {
        const bool zone = IsZoneKind(object.GetKind());
        if (!zone) {
            const auto known = m_names.find(&object);
            if (known != m_names.end())
                return known->second;
        }
        const CProjectObject* parent = object.Parent();
        std::pair<QString, QString> named;
        if (!parent || parent->GetKind() == KindRoot || !PlaceLetter(object).unicode()) {
            named = {ObjectPath(object), ObjectPlace(object)};
        } else {
            const auto [path, place] = Named(*parent);
            int number = 0;
            for (int i = 0; i < parent->GetChildCount(); ++i) {
                const CProjectObject* sibling = parent->GetChild(i);
                number += PlaceLetter(*sibling) == PlaceLetter(object) ? 1 : 0;
                if (sibling == &object)
                    break;
            }
            named = {path + u'/' + object.GetName(),
                     place + u'/' + PlaceLetter(object) + QString::number(number)};
        }
        if (!zone)
            m_names.emplace(&object, named);
        return named;
    }

    static QChar PlaceLetter(const CProjectObject& object)
    {
        switch (object.GetKind()) {
        case KindProgram:
            return u'p';
        case KindWindow:
            return u'w';
        default:
            return IsZoneKind(object.GetKind()) ? u'z' : QChar();
        }
    }

    void CheckProgram(const CProgram& program)
    {
        const ProgramBorder& border = program.Border();
        if (border.enabled && border.source != 0)
            CheckImageFile(program, program.BorderKey().sourcePath,
                           QStringLiteral("the border picture"));
        std::vector<const CPlayWindow*> windows;
        program.ForEachChild([&](const CProjectObject& child) {
            if (child.GetKind() == KindWindow)
                windows.push_back(static_cast<const CPlayWindow*>(&child));
        });
        const LedRect inner = program.InnerRect();
        std::vector<QString> rects;
        for (const CPlayWindow* window : windows)
            rects.push_back(RectText(window->WindowRect()));
        for (size_t i = 0; i < windows.size(); ++i) {
            const LedRect& a = windows[i]->WindowRect();
            if (a.left < inner.left || a.top < inner.top || a.right > inner.right ||
                a.bottom > inner.bottom)
                Add(FindingKind::OutsideScreen, *windows[i],
                    QStringLiteral("the window %1 leaves the screen's area %2")
                        .arg(rects[i], RectText(inner)));
            for (size_t j = i + 1; j < windows.size(); ++j) {
                const LedRect& b = windows[j]->WindowRect();
                if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                    Add(FindingKind::Overlap, *windows[i],
                        QStringLiteral("the window %1 overlaps %2 at %3")
                            .arg(rects[i], windows[j]->GetName(), rects[j]));
            }
            windows[i]->ForEachChild([&](const CProjectObject& zone) {
                if (IsZoneKind(zone.GetKind()))
                    CheckZone(static_cast<const CEffectZone&>(zone), a);
            });
        }
    }

    void CheckZone(const CEffectZone& zone, const LedRect& window)
    {
        if (zone.GetAction() < 0 || zone.GetAction() >= m_effectCount)
            Add(FindingKind::EffectCode, zone,
                QStringLiteral("the entry effect %1 is not in the effect list (0 to %2)")
                    .arg(zone.GetAction())
                    .arg(m_effectCount - 1));
        if (zone.GetPageCount() > layout::kMaxPages)
            Add(FindingKind::TooManyPages, zone,
                QStringLiteral("the content needs %1 pages; a zone carries %2, the rest is not "
                               "sent")
                    .arg(zone.GetPageCount())
                    .arg(layout::kMaxPages));
        // What follows depends on the zone's content and window alone: said once per content.
        const bool keyed = ContentKey(zone, window, m_key);
        const auto known = keyed ? m_memo.find(m_key) : m_memo.end();
        if (known != m_memo.end()) {
            AddAll(zone, known->second);
            return;
        }
        std::vector<std::pair<FindingKind, QString>> found;
        m_capture = &found;
        CheckContent(zone, window);
        m_capture = nullptr;
        AddAll(zone, found);
        if (keyed)
            m_memo.emplace(m_key, std::move(found));
    }

    // The findings of one object, named once.
    void AddAll(const CProjectObject& object,
                const std::vector<std::pair<FindingKind, QString>>& found)
    {
        if (found.empty())
            return;
        const auto [path, place] = Named(object);
        for (const auto& [kind, text] : found)
            m_findings.push_back({kind, path, text, place});
    }

    void CheckContent(const CEffectZone& zone, const LedRect& window)
    {
        m_signFindings.clear();
        m_sign.CheckZone(zone, m_signFindings);
        for (const CSignChecker::Finding& finding : m_signFindings)
            Add(finding.kind, zone, finding.text);
        switch (zone.GetKind()) {
        case KindText:
        case KindAnimate:
            CheckRichText(static_cast<const CRichTextBase&>(zone));
            break;
        case KindImage: {
            const auto& image = static_cast<const CImageZone&>(zone);
            if (!image.Key().sourcePath.isEmpty())
                CheckImageFile(zone, image.Key().sourcePath, QStringLiteral("the image"));
            break;
        }
        case KindTable:
            CheckTable(static_cast<const CTableZone&>(zone));
            break;
        case KindDateTime:
            CheckDateTime(static_cast<const CDateTimeZone&>(zone), window);
            break;
        case KindCountdown:
            CheckCountdown(static_cast<const CCountdownZone&>(zone), window);
            break;
        case KindTemperature:
            CheckTemperature(static_cast<const CTemperatureZone&>(zone), window);
            break;
        default:
            break;
        }
    }

    void CheckImageFile(const CProjectObject& object, const QString& path, const QString& what)
    {
        const QString resolved = ResolveSourcePath(object, path);
        if (!QFileInfo::exists(resolved)) {
            Add(FindingKind::MissingImage, object,
                QStringLiteral("%1 file '%2' does not exist (looked for beside the project and "
                               "in the current folder)")
                    .arg(what, path));
            return;
        }
        // A FIFO or a device would block the reader: never opened.
        QString reason;
        if (!IsSafeNamedFile(resolved, &reason)) {
            Add(FindingKind::MissingImage, object,
                QStringLiteral("%1 file '%2' cannot be read: %3").arg(what, path, reason));
            return;
        }
        QImageReader reader(resolved);
        if (!reader.canRead())
            Add(FindingKind::MissingImage, object,
                QStringLiteral("%1 file '%2' cannot be read: %3")
                    .arg(what, path, reader.errorString()));
    }

    void ReportGlyphs(const CProjectObject& object, const QList<char32_t>& missing)
    {
        if (missing.isEmpty())
            return;
        Add(FindingKind::MissingGlyph, object,
            QStringLiteral("no installed font has %1; they show as boxes")
                .arg(CharacterList(missing)));
    }

    void CheckRichText(const CRichTextBase& zone)
    {
        // Many zones hold the same text (the default one, at least): read each text once.
        const auto known = m_richTextGlyphs.find(zone.GetRtf());
        if (known != m_richTextGlyphs.end()) {
            ReportGlyphs(zone, known->second);
            return;
        }
        QTextDocument document;
        ReadRtf(zone.GetRtf(), document);
        QList<char32_t> missing;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                m_glyphs.Collect(fragment.charFormat().font(), fragment.text(), missing);
            }
        }
        m_richTextGlyphs.emplace(zone.GetRtf(), missing);
        ReportGlyphs(zone, missing);
    }

    void CheckTable(const CTableZone& zone)
    {
        if (zone.Cells().size() <
            static_cast<size_t>(zone.RowCount()) * static_cast<size_t>(zone.ColumnCount()))
            return;
        QList<char32_t> missing;
        int tallCells = 0;
        QString first;
        for (int row = 0; row < zone.RowCount(); ++row) {
            const int rowHeight = std::max(0, zone.Rows()[static_cast<size_t>(row)].height) - 1;
            for (int column = 0; column < zone.ColumnCount(); ++column) {
                const TableCell& cell = zone.Cell(row, column);
                if (cell.text.isEmpty())
                    continue;
                const QFont font =
                    LedFont(cell.fontName, PointsToPixels(std::clamp(cell.fontSize, 1, 1000)),
                            cell.bold != 0, cell.italic != 0, cell.underline != 0);
                m_glyphs.Collect(font, cell.text, missing);
                const int textHeight = QFontMetrics(font).height();
                if (textHeight <= rowHeight)
                    continue;
                if (tallCells++ == 0)
                    first = QStringLiteral("row %1, column %2: %3 pixels in %4")
                                .arg(row + 1)
                                .arg(column + 1)
                                .arg(textHeight)
                                .arg(rowHeight);
            }
        }
        if (tallCells > 0)
            Add(FindingKind::TableRowHeight, zone,
                QStringLiteral("the text of %1 cell(s) is taller than its row and is cut (first "
                               "%2)")
                    .arg(tallCells)
                    .arg(first));
        ReportGlyphs(zone, missing);
    }

    void ReportCut(const CProjectObject& zone, const QString& what, int neededWidth,
                   int neededHeight, const LedRect& window)
    {
        if (neededWidth <= window.Width() && neededHeight <= window.Height())
            return;
        Add(FindingKind::LayoutCut, zone,
            QStringLiteral("%1 needs %2 x %3 pixels; the window is %4 x %5, so part of it is cut "
                           "off")
                .arg(what)
                .arg(neededWidth)
                .arg(neededHeight)
                .arg(window.Width())
                .arg(window.Height()));
    }

    void CheckDateTime(const CDateTimeZone& zone, const LedRect& window)
    {
        DateTimeSettings s = zone.Settings();
        const QFont font = PreviewFont(s.size);
        const int staticWidth = s.text.isEmpty() ? 0 : QFontMetrics(font).horizontalAdvance(s.text);
        LayoutDateTime(s, window.Width(), staticWidth, m_now);
        const int lineHeight = ControllerFontFor(s.size).lineHeight;
        int right = 0;
        int bottom = 0;
        for (int item = DateTimeText; item < DateTimeItemCount; ++item) {
            if (!s.enabled[item])
                continue;
            const int width =
                item == DateTimeText ? staticWidth : DateTimeItemWidth(s, item, m_now);
            right = std::max(right, s.x[item] + width);
            bottom = std::max(bottom, (s.row[item] + 1) * lineHeight);
        }
        QList<char32_t> missing;
        m_glyphs.Collect(font, s.text, missing);
        ReportGlyphs(zone, missing);
        ReportCut(zone, QStringLiteral("the date and time"), right, bottom, window);
    }

    void CheckCountdown(const CCountdownZone& zone, const LedRect& window)
    {
        const CountdownSettings& s = zone.Settings();
        const QFont titleFont = PointFont(s.titleFont, s.titleFontSize);
        const QFontMetrics metrics(titleFont);
        const int titleWidth = s.title.isEmpty() ? 0 : metrics.horizontalAdvance(s.title);
        const int titleHeight = s.title.isEmpty() ? 0 : metrics.height();
        const CountdownLine line = BuildCountdownLine(s, LocalSeconds(m_now));
        const int digitsHeight = ControllerFontFor(s.digitSize).lineHeight;
        QList<char32_t> missing;
        m_glyphs.Collect(titleFont, s.title, missing);
        ReportGlyphs(zone, missing);
        ReportCut(zone, QStringLiteral("the countdown"), std::max(titleWidth, line.width),
                  titleHeight + digitsHeight, window);
    }

    void CheckTemperature(const CTemperatureZone& zone, const LedRect& window)
    {
        const TemperatureSettings& s = zone.Settings();
        const QFont labelFont = PointFont(s.fontName, s.labelFontSize);
        const QFontMetrics metrics(labelFont);
        const ControllerFont digits = ControllerFontFor(s.digitSize);
        const bool temperature = TemperatureShown(s);
        const bool humidity = HumidityShown(s);
        const int temperatureWidth = metrics.horizontalAdvance(s.temperatureLabel) +
                                     3 * digits.halfWidth +
                                     metrics.horizontalAdvance(s.temperatureUnit);
        const int humidityWidth = metrics.horizontalAdvance(s.humidityLabel) +
                                  2 * digits.halfWidth + metrics.horizontalAdvance(s.humidityUnit);
        const int lineHeight = std::max(metrics.height(), digits.lineHeight);
        const int shownWidths[] = {temperature ? temperatureWidth : 0,
                                   humidity ? humidityWidth : 0};
        const int lines = s.oneLine ? 1 : (temperature ? 1 : 0) + (humidity ? 1 : 0);
        const int width =
            s.oneLine ? shownWidths[0] + shownWidths[1] : std::max(shownWidths[0], shownWidths[1]);
        QList<char32_t> missing;
        for (const QString* text :
             {&s.temperatureLabel, &s.temperatureUnit, &s.humidityLabel, &s.humidityUnit})
            m_glyphs.Collect(labelFont, *text, missing);
        ReportGlyphs(zone, missing);
        if (lines > 0)
            ReportCut(zone, QStringLiteral("the temperature"), width, lines * lineHeight, window);
    }

    ProjectFindings& m_findings;
    // Findings being gathered for a zone's content, instead of being added.
    std::vector<std::pair<FindingKind, QString>>* m_capture = nullptr;
    std::unordered_map<std::string, std::vector<std::pair<FindingKind, QString>>> m_memo;
    std::unordered_map<const CProjectObject*, std::pair<QString, QString>> m_names;
    std::string m_key; // the content key being built, kept to reuse its memory
    const int m_effectCount;
    const QDateTime m_now;
    CGlyphCoverage m_glyphs;
    std::map<QString, QList<char32_t>> m_richTextGlyphs;
    CSignChecker m_sign;
    std::vector<CSignChecker::Finding> m_signFindings;
};

} // namespace

void CheckProjectTree(const CProjectRoot& root, ProjectFindings& findings)
{
    CTreeChecker checker(findings);
    root.ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() == KindScreen)
            checker.CheckScreen(static_cast<const CScreen&>(child));
    });
}

void CheckProjectObject(const CProjectObject& object, ProjectFindings& findings)
{
    CTreeChecker checker(findings);
    checker.CheckObject(object);
}

void CheckScreenSettings(const CScreen& screen, ProjectFindings& findings)
{
    CTreeChecker checker(findings);
    checker.CheckScreenOwn(screen);
}

ProjectFindings CheckProject(const QString& path, const CProjectRoot& root)
{
    ProjectFindings findings;
    CheckProjectLoading(path, findings);
    CheckProjectTree(root, findings);
    return findings;
}
