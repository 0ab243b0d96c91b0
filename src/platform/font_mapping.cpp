#include "platform/font_mapping.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace {

// Installed faces in order of preference.
// The bitmap strikes of "WenQuanYi Zen Hei Sharp" keep Chinese crisp at 12 pixels.
const char* const kCjkFaces[] = {"WenQuanYi Zen Hei Sharp", "WenQuanYi Zen Hei", "Noto Sans CJK SC",
                                 "AR PL UMing CN", "Droid Sans Fallback"};
const char* const kTraditionalFaces[] = {"WenQuanYi Zen Hei Sharp", "WenQuanYi Zen Hei",
                                         "Noto Sans CJK TC",        "AR PL UMing TW",
                                         "AR PL UMing HK",          "Droid Sans Fallback"};
const char* const kSansFaces[] = {"DejaVu Sans", "Liberation Sans", "FreeSans"};
const char* const kSerifFaces[] = {"DejaVu Serif", "Liberation Serif", "FreeSerif"};
const char* const kMonoFaces[] = {"DejaVu Sans Mono", "Liberation Mono", "FreeMono"};

// Windows face names with Chinese glyphs, in their Chinese and Latin spellings: the faces
// of Simplified Chinese Windows (and other CJK faces)...
const char* const kCjkNames[] = {"宋体",
                                 "SimSun",
                                 "新宋体",
                                 "NSimSun",
                                 "黑体",
                                 "SimHei",
                                 "楷体",
                                 "楷体_GB2312",
                                 "KaiTi",
                                 "KaiTi_GB2312",
                                 "仿宋",
                                 "仿宋_GB2312",
                                 "FangSong",
                                 "FangSong_GB2312",
                                 "微软雅黑",
                                 "Microsoft YaHei",
                                 "微软雅黑 Light",
                                 "Microsoft YaHei Light",
                                 "等线",
                                 "DengXian",
                                 "等线 Light",
                                 "DengXian Light",
                                 "幼圆",
                                 "YouYuan",
                                 "隶书",
                                 "LiSu",
                                 "华文宋体",
                                 "STSong",
                                 "华文黑体",
                                 "STHeiti",
                                 "华文楷体",
                                 "STKaiti",
                                 "宋体-方正超大字符集",
                                 "Arial Unicode MS",
                                 "MS Song",
                                 "MS Hei",
                                 "Batang",
                                 "Gulim",
                                 "MS Gothic",
                                 "MS Mincho",
                                 "ＭＳ ゴシック",
                                 "ＭＳ 明朝"};
// ...and of Traditional Chinese Windows (with the simplified spellings some files carry).
const char* const kTraditionalNames[] = {"新細明體",         "新细明体",
                                         "PMingLiU",         "細明體",
                                         "细明体",           "MingLiU",
                                         "新細明體-ExtB",    "PMingLiU-ExtB",
                                         "細明體-ExtB",      "MingLiU-ExtB",
                                         "細明體_HKSCS",     "MingLiU_HKSCS",
                                         "標楷體",           "标楷体",
                                         "DFKai-SB",         "微軟正黑體",
                                         "微软正黑体",       "Microsoft JhengHei",
                                         "微軟正黑體 Light", "Microsoft JhengHei Light",
                                         "微軟雅黑",         "等線",
                                         "等線 Light"};
const char* const kSansNames[] = {
    "Arial",    "Helvetica", "Tahoma",      "Verdana",      "MS Sans Serif", "Microsoft Sans Serif",
    "Segoe UI", "Calibri",   "Arial Black", "Trebuchet MS", "System",        "Lucida Sans Unicode"};
const char* const kSerifNames[] = {"Times New Roman", "Times",    "Georgia",  "Cambria",
                                   "Book Antiqua",    "Garamond", "MS Serif", "Palatino Linotype"};
const char* const kMonoNames[] = {"Courier New",    "Courier",  "Consolas",
                                  "Lucida Console", "Fixedsys", "Terminal"};

template <size_t N> QStringList Installed(const char* const (&faces)[N])
{
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const char* face : faces) {
        const QString name = QString::fromUtf8(face);
        if (families.contains(name, Qt::CaseInsensitive))
            found << name;
    }
    return found;
}

template <size_t N>
void Map(const char* const (&names)[N], const QStringList& primary, const QStringList& cjk)
{
    QStringList substitutes = primary;
    for (const QString& face : cjk) {
        if (!substitutes.contains(face))
            substitutes << face;
    }
    if (substitutes.isEmpty())
        return;
    const QStringList families = QFontDatabase::families();
    for (const char* name : names) {
        const QString face = QString::fromUtf8(name);
        // A machine that has the real face keeps it.
        if (families.contains(face, Qt::CaseInsensitive))
            continue;
        QFont::removeSubstitutions(face);
        QFont::insertSubstitutions(face, substitutes);
    }
}

} // namespace

void InstallFontMapping()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const QStringList cjk = Installed(kCjkFaces);
        Map(kCjkNames, cjk, {});
        Map(kTraditionalNames, Installed(kTraditionalFaces), cjk);
        Map(kSansNames, Installed(kSansFaces), cjk);
        Map(kSerifNames, Installed(kSerifFaces), cjk);
        Map(kMonoNames, Installed(kMonoFaces), cjk);
    });
}

QString ResolvedFontFamily(const QString& faceName)
{
    QFont font(faceName);
    return QFontInfo(font).family();
}

FaceOnThisMachine FindFace(const QString& faceName)
{
    static std::mutex mutex;
    static std::map<QString, FaceOnThisMachine> known;
    const QString face = faceName.trimmed();
    const std::lock_guard<std::mutex> lock(mutex);
    const auto it = known.find(face);
    if (it != known.end())
        return it->second;
    FaceOnThisMachine found;
    found.installed =
        face.isEmpty() || QFontDatabase::families().contains(face, Qt::CaseInsensitive);
    found.stoodIn = !found.installed && !QFont::substitutes(face).isEmpty();
    found.used = found.installed && !face.isEmpty() ? face : ResolvedFontFamily(face);
    known.emplace(face, found);
    return found;
}

QFont LedFont(const QString& faceName, int pixelHeight, bool bold, bool italic, bool underline)
{
    QFont font;
    const QString face = faceName.trimmed();
    if (!face.isEmpty())
        font.setFamilies({face});
    font.setPixelSize(std::clamp(pixelHeight, 1, 4096));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    return font;
}

int PointsToPixels(double points)
{
    if (!std::isfinite(points))
        return 1;
    return static_cast<int>(std::clamp(std::lround(points * 96.0 / 72.0), 1L, 4096L));
}
