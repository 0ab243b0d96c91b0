#pragma once

#include "model/project_finding.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CLumivantDoc;
class CProjectObject;

// The project checker's findings about the open project, kept up to date as the project
// changes: what the loader fixed in its file, and what will not show as meant. It listens
// to the document's signals only, and checks again only what a change touched (a zone, a
// program with its windows, a screen's own settings), a short while after the changes stop
// and a few milliseconds at a time, so that typing never waits for it. Nothing is checked
// while it is not active (no one shows the warnings).
class CProjectWarnings final : public QObject
{
    Q_OBJECT

public:
    // How long after the last change the check starts: an edited zone is rendered again
    // first (its page count is part of the check).
    static constexpr int kSettleMs = 350;
    // Checking goes on in steps of about this length.
    static constexpr int kStepMs = 8;

    struct Warning
    {
        // What it is about; null for the project file as a whole. Valid while it stands in
        // warnings(): what leaves the project leaves the warnings first.
        CProjectObject* object = nullptr;
        FindingKind kind = FindingKind::KeyOrder;
        QString text;
    };

    explicit CProjectWarnings(CLumivantDoc& doc, QObject* parent = nullptr);
    ~CProjectWarnings() override;

    void SetActive(bool active);
    bool IsActive() const { return m_active; }
    // True while changes wait to be checked (or are being checked).
    bool IsChecking() const;
    // In the order of the project tree, the file's own first.
    const std::vector<Warning>& Warnings() const { return m_published; }
    // Checks everything that waits at once.
    void CheckPendingNow();
    // Checks everything again (after a change of language: the texts are in the language
    // in use).
    void RecheckAll();

    // The object as the tree shows it: its names from the screen down, hidden windows left
    // out (a hidden window is its zone).
    static QString ObjectLabel(const CProjectObject& object);

signals:
    // The list changed; its pointers before the signal are not to be used any more.
    void warningsChanged();
    // Names of objects changed (the list itself did not).
    void namesChanged();
    void checkingChanged(bool checking);

private:
    // A screen's own warnings, or a program's with its windows and zones.
    struct Unit
    {
        std::vector<Warning> warnings;
        std::uint64_t shape = 0; // a program's windows and zones, to notice structure changes
    };

    void OnObjectChanged(CProjectObject* object, int code);
    void OnRendered(CProjectObject* object);
    void OnAboutToRemove(CProjectObject* object);
    void Clear();
    void MarkUnit(CProjectObject* unit);
    void MarkZone(CProjectObject* zone);
    void MarkScreenAndPrograms(CProjectObject* screen);
    void Touch(bool soon);
    void RunStep(qint64 budgetMs);
    bool HasWork() const;
    void Reconcile();
    void CheckUnit(CProjectObject* unit);
    void CheckZone(CProjectObject* zone);
    void CheckFile();
    void Publish();
    void SetChecking(bool checking);

    CLumivantDoc& m_doc;
    bool m_active = false;
    bool m_checking = false;
    std::unordered_map<CProjectObject*, Unit> m_units;
    std::vector<Warning> m_fileWarnings;
    std::deque<CProjectObject*> m_dirtyUnits;
    std::unordered_set<const CProjectObject*> m_dirtyUnitSet;
    std::deque<CProjectObject*> m_dirtyZones;
    std::unordered_set<const CProjectObject*> m_dirtyZoneSet;
    bool m_reconcile = false;
    bool m_fileDirty = false;
    QTimer m_settle;
    QTimer m_step;
    std::vector<Warning> m_published;
};
