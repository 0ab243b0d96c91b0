#pragma once

#include "base/project_lock.h"
#include "server/api_error.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <list>
#include <memory>
#include <mutex>
#include <set>

class CCoreThread;
class CEffectZone;
class CProjectRoot;
class CScreen;

// The one project a server serves. Reads come from a copy kept on the core thread and
// loaded again whenever the file changed on the disk (anyone may write it: the desktop
// program, lumivant-cli); every change is made under the project's lock on a copy read
// fresh from the disk, and saved atomically with the earlier version kept.
class CProjectHost
{
public:
    // How long a change waits for another writer of the project.
    static constexpr int kLockWaitMs = 5000;
    // The longest animated preview: a minute of play.
    static constexpr int kMaxPreviewTicks = 60 * 1000 / 8;
    // Previews larger than this many pixels are refused.
    static constexpr qint64 kMaxPreviewPixels = 16 * 1024 * 1024;

    CProjectHost(const QString& projectPath, CCoreThread& core);
    ~CProjectHost();

    // The absolute path of the project file, and its folder.
    const QString& Path() const { return m_path; }
    QString Folder() const;

    // The project as lumivant-cli info --json gives it, every zone with its paths and every
    // text zone with its text.
    bool TreeJson(QByteArray& json, ApiError& error);
    // A page of a zone as render draws it, in the LED look when zoom > 1 or dots.
    bool ZonePreview(const QString& zonePath, int page, int zoom, bool dots, QByteArray& png,
                     ApiError& error);
    // A program played as play --gif does.
    bool ProgramPreview(const QString& programPath, int zoom, bool dots, QByteArray& gif,
                        ApiError& error);
    // What each screen plays at the moment, as schedule --at tells.
    bool Schedule(const QDateTime& moment, QJsonObject& json, ApiError& error);

    // The text of a zone (keeping its first character's format) or its whole RTF document.
    enum class TextForm { Plain, Rtf };
    bool SetZoneText(const QString& zonePath, const QString& text, TextForm form,
                     QJsonObject& reply, ApiError& error);
    // A picture stored beside the project, shown by an image zone.
    bool SetZoneImage(const QString& zonePath, const QByteArray& picture, QJsonObject& reply,
                      ApiError& error);

    // A copy of the project of its own, read from the disk (on the core thread).
    std::unique_ptr<CProjectRoot> LoadCopy(ApiError& error);

    // A zone path of the URL's parts (each one name, or the s1/p1/w1/z1 numbers).
    static QString PathOfParts(const QStringList& parts);

private:
    // On the core thread: the kept copy, loaded again when the file changed.
    CProjectRoot* Current(ApiError& error);
    void PrepareForDisplay(CScreen& screen);
    bool RunOnCore(const std::function<void()>& task, ApiError& error);
    bool Edit(const QString& zonePath, const std::function<bool(CEffectZone&, QString&)>& change,
              QJsonObject& reply, ApiError& error);
    bool Cached(const QString& key, const FileStamp& stamp, QByteArray& bytes);
    void Remember(const QString& key, const FileStamp& stamp, const QByteArray& bytes);

    QString m_path;
    CCoreThread& m_core;

    // Core thread only.
    std::unique_ptr<CProjectRoot> m_root;
    FileStamp m_rootStamp;
    std::set<const CScreen*> m_prepared;

    // Answers already made for the file as it is (the tree, previews), newest first.
    struct CacheEntry
    {
        QString key;
        FileStamp stamp;
        QByteArray bytes;
    };
    std::mutex m_cacheMutex;
    std::list<CacheEntry> m_cache;
    qint64 m_cacheBytes = 0;
};
