#include "server/project_host.h"

#include "base/durable_file.h"
#include "base/last_error.h"
#include "base/string_table.h"
#include "model/effect_zone.h"
#include "model/image_key_params.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/project_tree_json.h"
#include "model/screen.h"
#include "model/zone_path.h"
#include "render/led_look.h"
#include "render/play_schedule.h"
#include "render/program_recording.h"
#include "render/screen_pictures.h"
#include "render/sign_picture.h"
#include "render/zone_content.h"
#include "render/zone_edit.h"
#include "server/core_thread.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int kTextLoadFailed = 59142;
constexpr int kTextStopping = 61820;
constexpr int kTextNoSuchPage = 61821;
constexpr int kTextNothingToShow = 61822;
constexpr int kTextPreviewTooLarge = 61823;
constexpr int kTextNotImageZone = 61824;
constexpr int kTextNotPicture = 61825;

constexpr int kCacheEntries = 64;
constexpr qint64 kCacheBytes = 32 * 1024 * 1024;

int IndexInParent(const CProjectObject& object)
{
    const CProjectObject* parent = object.Parent();
    for (int i = 0; parent && i < parent->GetChildCount(); ++i) {
        if (parent->GetChild(i) == &object)
            return i;
    }
    return -1;
}

// The screen a zone or program stands on, and its number among the project's children.
CScreen* ScreenOf(CProjectObject& object, int& number)
{
    CProjectObject* at = &object;
    while (at && at->GetKind() != KindScreen)
        at = at->Parent();
    number = at ? IndexInParent(*at) + 1 : 0;
    return static_cast<CScreen*>(at);
}

QString LoadFailure(const QString& path)
{
    const QString reason = LastError().isEmpty() ? LoadString(kTextLoadFailed) : LastError();
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

std::unique_ptr<CProjectRoot> LoadFromDisk(const QString& path, ApiError& error)
{
    auto root = std::make_unique<CProjectRoot>();
    ClearLastError();
    if (!root->LoadProject(path) || !root->EnsureScreen()) {
        error = {500, LoadFailure(path)};
        return nullptr;
    }
    return root;
}

QByteArray EncodePng(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    return buffer.data();
}

QJsonObject EditReply(const CProjectRoot& root, const CZoneEdit::Outcome& outcome)
{
    QJsonArray warnings;
    for (const QString& warning : outcome.warnings)
        warnings.append(warning);
    QJsonArray findings;
    for (const ProjectFinding& finding : CZoneEdit::FindingsOf(root, *outcome.zone)) {
        warnings.append(finding.path.isEmpty()
                            ? finding.text
                            : QStringLiteral("%1: %2").arg(finding.path, finding.text));
        findings.append(QJsonObject{
            {QStringLiteral("kind"), QString::fromLatin1(FindingKindName(finding.kind))},
            {QStringLiteral("path"), finding.path},
            {QStringLiteral("text"), finding.text}});
    }
    QJsonObject reply{
        {QStringLiteral("zone"), CZonePath::NameOf(*outcome.zone)},
        {QStringLiteral("path"), CZonePath::NumbersOf(*outcome.zone)},
        {QStringLiteral("pages"), outcome.pages},
        {QStringLiteral("warnings"), warnings},
        {QStringLiteral("findings"), findings},
    };
    if (!root.KeepWarning().isEmpty())
        reply.insert(QStringLiteral("keepWarning"), root.KeepWarning());
    return reply;
}

// Screens and zones carry what the web page needs beside what info --json gives.
void AddPageFields(const CProjectObject& object, QJsonObject& node)
{
    if (object.GetKind() == KindScreen) {
        const auto& screen = static_cast<const CScreen&>(object);
        node.insert(QStringLiteral("number"), IndexInParent(object) + 1);
        node.insert(QStringLiteral("width"), screen.Width());
        node.insert(QStringLiteral("height"), screen.Height());
        node.insert(QStringLiteral("colours"), screen.ColourDepth());
    } else if (object.GetKind() == KindProgram) {
        node.insert(QStringLiteral("number"), IndexInParent(object) + 1);
    } else if (object.GetKind() == KindText || object.GetKind() == KindAnimate) {
        node.insert(QStringLiteral("text"),
                    CZoneContent::PlainText(static_cast<const CEffectZone&>(object)));
    }
}

// The formats an image zone can show, with the file name ending each is stored under.
QString PictureSuffix(const QByteArray& format)
{
    static const std::pair<const char*, const char*> kFormats[] = {
        {"png", "png"}, {"jpeg", "jpg"},  {"jpg", "jpg"},  {"gif", "gif"},
        {"bmp", "bmp"}, {"tiff", "tiff"}, {"tif", "tiff"}, {"ico", "ico"},
    };
    for (const auto& [name, suffix] : kFormats) {
        if (format == name)
            return QString::fromLatin1(suffix);
    }
    return {};
}

} // namespace

CProjectHost::CProjectHost(const QString& projectPath, CCoreThread& core)
    : m_path(QFileInfo(projectPath).absoluteFilePath()), m_core(core)
{}

CProjectHost::~CProjectHost() = default;

QString CProjectHost::Folder() const
{
    return QFileInfo(m_path).absolutePath();
}

QString CProjectHost::PathOfParts(const QStringList& parts)
{
    QStringList escaped;
    for (const QString& part : parts)
        escaped << CZonePath::Escape(part);
    return escaped.join(u'/');
}

bool CProjectHost::RunOnCore(const std::function<void()>& task, ApiError& error)
{
    if (m_core.Run(task))
        return true;
    error = {503, LoadString(kTextStopping)};
    return false;
}

CProjectRoot* CProjectHost::Current(ApiError& error)
{
    const FileStamp stamp = FileStamp::Of(m_path);
    if (m_root && stamp == m_rootStamp)
        return m_root.get();
    m_prepared.clear();
    m_root = LoadFromDisk(m_path, error);
    m_rootStamp = stamp;
    return m_root.get();
}

void CProjectHost::PrepareForDisplay(CScreen& screen)
{
    if (m_prepared.insert(&screen).second)
        screen.Prepare(RenderForm::Display);
}

bool CProjectHost::Cached(const QString& key, const FileStamp& stamp, QByteArray& bytes)
{
    std::lock_guard lock(m_cacheMutex);
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->key != key)
            continue;
        if (it->stamp != stamp)
            return false;
        bytes = it->bytes;
        m_cache.splice(m_cache.begin(), m_cache, it);
        return true;
    }
    return false;
}

void CProjectHost::Remember(const QString& key, const FileStamp& stamp, const QByteArray& bytes)
{
    std::lock_guard lock(m_cacheMutex);
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->key == key) {
            m_cacheBytes -= it->bytes.size();
            m_cache.erase(it);
            break;
        }
    }
    if (bytes.size() > kCacheBytes / 4)
        return;
    m_cache.push_front({key, stamp, bytes});
    m_cacheBytes += bytes.size();
    while (!m_cache.empty() &&
           (static_cast<int>(m_cache.size()) > kCacheEntries || m_cacheBytes > kCacheBytes)) {
        m_cacheBytes -= m_cache.back().bytes.size();
        m_cache.pop_back();
    }
}

bool CProjectHost::TreeJson(QByteArray& json, ApiError& error)
{
    const QString key = QStringLiteral("tree");
    if (Cached(key, FileStamp::Of(m_path), json))
        return true;
    FileStamp stamp;
    bool made = false;
    if (!RunOnCore(
            [&] {
                CProjectRoot* root = Current(error);
                if (!root)
                    return;
                QJsonObject tree = ProjectTreeJson(*root, ZonePaths::Include, AddPageFields);
                tree.insert(QStringLiteral("file"), QFileInfo(m_path).fileName());
                json = QJsonDocument(tree).toJson(QJsonDocument::Compact);
                stamp = m_rootStamp;
                made = true;
            },
            error) ||
        !made)
        return false;
    Remember(key, stamp, json);
    return true;
}

bool CProjectHost::ZonePreview(const QString& zonePath, int page, int zoom, bool dots,
                               QByteArray& png, ApiError& error)
{
    const QString key =
        QStringLiteral("zone|%1|%2|%3|%4").arg(zonePath).arg(page).arg(zoom).arg(dots);
    if (Cached(key, FileStamp::Of(m_path), png))
        return true;
    QImage picture;
    FileStamp stamp;
    if (!RunOnCore(
            [&] {
                CProjectRoot* root = Current(error);
                if (!root)
                    return;
                QString reason;
                CEffectZone* zone = CZonePath::Find(*root, zonePath, reason);
                if (!zone) {
                    error = {404, reason};
                    return;
                }
                int screenNumber = 0;
                CScreen* screen = ScreenOf(*zone, screenNumber);
                if (!screen)
                    return;
                PrepareForDisplay(*screen);
                const int pages = CardPageCount(*zone);
                if (pages == 0) {
                    error = {404, LoadString(kTextNothingToShow).arg(CZonePath::NameOf(*zone))};
                    return;
                }
                if (page > pages) {
                    error = {404, LoadString(kTextNoSuchPage)
                                      .arg(CZonePath::NameOf(*zone))
                                      .arg(page)
                                      .arg(pages)};
                    return;
                }
                const CProjectObject* window = zone->Parent();
                const CProjectObject* program = window ? window->Parent() : nullptr;
                const QString wanted =
                    ZonePictureName(screenNumber, program ? IndexInParent(*program) + 1 : 0,
                                    IndexInParent(*window) + 1, IndexInParent(*zone) + 1, page);
                ForEachScreenPicture(*screen, screenNumber,
                                     [&](const QString& name, const QImage& image) {
                                         if (name != wanted)
                                             return true;
                                         picture = image;
                                         return false;
                                     });
                if (picture.isNull())
                    error = {404, LoadString(kTextNothingToShow).arg(CZonePath::NameOf(*zone))};
                stamp = m_rootStamp;
            },
            error) ||
        picture.isNull())
        return false;
    if (static_cast<qint64>(picture.width()) * zoom * picture.height() * zoom > kMaxPreviewPixels) {
        error = {400, LoadString(kTextPreviewTooLarge)
                          .arg(picture.width() * zoom)
                          .arg(picture.height() * zoom)};
        return false;
    }
    if (zoom > 1 || dots)
        picture = CLedLook(zoom, dots).Draw(picture);
    png = EncodePng(picture);
    Remember(key, stamp, png);
    return true;
}

bool CProjectHost::ProgramPreview(const QString& programPath, int zoom, bool dots, QByteArray& gif,
                                  ApiError& error)
{
    const QString key = QStringLiteral("program|%1|%2|%3").arg(programPath).arg(zoom).arg(dots);
    if (Cached(key, FileStamp::Of(m_path), gif))
        return true;
    FileStamp stamp;
    bool made = false;
    if (!RunOnCore(
            [&] {
                CProjectRoot* root = Current(error);
                if (!root)
                    return;
                QString reason;
                CProgram* program = CZonePath::FindProgram(*root, programPath, reason);
                if (!program) {
                    error = {404, reason};
                    return;
                }
                int screenNumber = 0;
                CScreen* screen = ScreenOf(*program, screenNumber);
                if (!screen)
                    return;
                const qint64 pixels =
                    static_cast<qint64>(screen->Width()) * zoom * screen->Height() * zoom;
                if (pixels > kMaxPreviewPixels) {
                    error = {400, LoadString(kTextPreviewTooLarge)
                                      .arg(screen->Width() * zoom)
                                      .arg(screen->Height() * zoom)};
                    return;
                }
                // Playing renders the screen for the editor again.
                m_prepared.insert(screen);
                if (!CProgramRecording::Gif(*screen, *program, zoom, dots, kMaxPreviewTicks, gif,
                                            reason)) {
                    error = {404, reason};
                    return;
                }
                stamp = m_rootStamp;
                made = true;
            },
            error) ||
        !made)
        return false;
    Remember(key, stamp, gif);
    return true;
}

bool CProjectHost::Schedule(const QDateTime& moment, QJsonObject& json, ApiError& error)
{
    bool made = false;
    return RunOnCore(
               [&] {
                   CProjectRoot* root = Current(error);
                   if (!root)
                       return;
                   QJsonArray screens;
                   for (int i = 0; i < root->GetChildCount(); ++i) {
                       CProjectObject* child = root->GetChild(i);
                       if (child->GetKind() != KindScreen)
                           continue;
                       auto& screen = static_cast<CScreen&>(*child);
                       const CPlaySchedule schedule = CPlaySchedule::FromScreen(screen);
                       m_prepared.insert(&screen);
                       QJsonArray playing;
                       for (int program : schedule.PlayingAt(moment)) {
                           const auto& entry = schedule.Programs()[static_cast<size_t>(program)];
                           playing.append(
                               QJsonObject{{QStringLiteral("name"), entry.name},
                                           {QStringLiteral("playTime"),
                                            static_cast<qint64>(entry.schedule.playTime)}});
                       }
                       QJsonArray warnings;
                       for (const QString& reason : schedule.NeverPlaying(QDate::currentDate()))
                           warnings.append(reason);
                       screens.append(QJsonObject{{QStringLiteral("number"), i + 1},
                                                  {QStringLiteral("name"), screen.GetName()},
                                                  {QStringLiteral("playing"), playing},
                                                  {QStringLiteral("warnings"), warnings}});
                   }
                   json = QJsonObject{{QStringLiteral("at"),
                                       moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
                                      {QStringLiteral("screens"), screens}};
                   made = true;
               },
               error) &&
           made;
}

bool CProjectHost::Edit(const QString& zonePath,
                        const std::function<bool(CEffectZone&, QString&)>& change,
                        QJsonObject& reply, ApiError& error)
{
    CProjectLock lock;
    if (!lock.Acquire(m_path, kLockWaitMs)) {
        error = {409, lock.Error()};
        return false;
    }
    bool saved = false;
    if (!RunOnCore(
            [&] {
                auto root = LoadFromDisk(m_path, error);
                if (!root)
                    return;
                CZoneEdit::Outcome outcome;
                CZoneEdit::Failure failure = CZoneEdit::Failure::None;
                QString reason;
                if (!CZoneEdit::Apply(*root, zonePath, change, outcome, failure, reason)) {
                    error = {failure == CZoneEdit::Failure::NoSuchZone ? 404 : 400, reason};
                    return;
                }
                ClearLastError();
                if (!root->SaveProject(m_path)) {
                    error = {500, LastError()};
                    return;
                }
                reply = EditReply(*root, outcome);
                // No one writes the file while the lock is held: the copy is the file.
                m_root = std::move(root);
                m_rootStamp = FileStamp::Of(m_path);
                m_prepared.clear();
                saved = true;
            },
            error))
        return false;
    return saved;
}

bool CProjectHost::SetZoneText(const QString& zonePath, const QString& text, TextForm form,
                               QJsonObject& reply, ApiError& error)
{
    return Edit(
        zonePath,
        [&](CEffectZone& zone, QString& reason) {
            return form == TextForm::Rtf ? CZoneContent::SetRtf(zone, text, reason)
                                         : CZoneContent::SetText(zone, text, reason);
        },
        reply, error);
}

bool CProjectHost::SetZoneImage(const QString& zonePath, const QByteArray& picture,
                                QJsonObject& reply, ApiError& error)
{
    // The picture is checked before anything is written: a format an image zone shows,
    // and whole.
    QBuffer buffer;
    buffer.setData(picture);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QString suffix = PictureSuffix(reader.format().toLower());
    QImage decoded;
    if (suffix.isEmpty() || !reader.read(&decoded) || decoded.isNull()) {
        error = {415, LoadString(kTextNotPicture)};
        return false;
    }
    // Named by its content: the same picture is stored once, and a new one never replaces
    // a picture an earlier version of the project shows.
    const QString digest = QString::fromLatin1(
        QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex().left(16));
    QString stem = QFileInfo(m_path).completeBaseName();
    const int room = ImageKeyParams::kPathCapacity - 1 - static_cast<int>(Folder().size()) -
                     static_cast<int>(digest.size() + suffix.size()) - 3;
    stem = stem.left(std::max(0, room));
    const QString file = QDir(Folder()).filePath((stem.isEmpty() ? QString() : stem + u'-') +
                                                 digest + u'.' + suffix);

    return Edit(
        zonePath,
        [&](CEffectZone& zone, QString& reason) {
            if (zone.GetKind() != KindImage) {
                reason = LoadString(kTextNotImageZone).arg(zone.GetName());
                return false;
            }
            const bool existed =
                QFileInfo(file).isFile() && QFileInfo(file).size() == picture.size();
            if (!existed && !WriteFileDurably(file, picture, &reason))
                return false;
            if (CZoneContent::SetImage(zone, file, reason))
                return true;
            if (!existed)
                QFile::remove(file);
            return false;
        },
        reply, error);
}

std::unique_ptr<CProjectRoot> CProjectHost::LoadCopy(ApiError& error)
{
    std::unique_ptr<CProjectRoot> root;
    if (!RunOnCore([&] { root = LoadFromDisk(m_path, error); }, error))
        return nullptr;
    return root;
}
