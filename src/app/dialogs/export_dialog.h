#pragma once

#include "platform/drives_removable.h"

#include <QDialog>

#include <functional>
#include <vector>

class CScreen;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

// "Export To USB Disk": the removable drives, the options of the export file and Save,
// which writes the screen's data onto the chosen drive. Folder... adds any folder (a card
// reader or a share the system does not mark removable); the same files go there. The
// dialog stays open after a save so that the same data can go onto another disk.
class CExportDialog final : public QDialog
{
    Q_OBJECT

public:
    using DriveLister = std::function<std::vector<RemovableDrive>()>;

    // drives lists the removable drives (the system's by default; tests give a folder).
    CExportDialog(CScreen& screen, QWidget* parent = nullptr, DriveLister drives = {});

    // Lists the drives again (and the folders chosen with Folder...).
    void RefreshDrives();
    // Adds a folder to the list and chooses it, as Folder... does after its dialog.
    void AddFolder(const QString& folder);

    // The status line's text in this language.
    static QString TranslateStatus(const QString& coreText);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void SetStatus(const QString& coreText, bool good);
    void OnIncludeParams(bool checked);
    void Save();

    CScreen& m_screen;
    DriveLister m_listDrives;
    QLabel* m_dirLabel;
    QComboBox* m_drives;
    QPushButton* m_refresh;
    QPushButton* m_folder;
    QStringList m_folders; // chosen with Folder..., kept through Refresh
    QGroupBox* m_options;
    QCheckBox* m_includeParams;
    QCheckBox* m_syncClock;
    QSpinBox* m_adjust;
    QLabel* m_seconds;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_help;
    QLabel* m_status;
    QString m_statusText; // the core's text, kept for a language change
    bool m_statusGood = false;
    bool m_folderStatus = false; // the status says that a folder was chosen
};
