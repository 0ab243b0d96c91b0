#include "app/dialogs/export_dialog.h"

#include "app/dialogs/desktop_messages.h"
#include "render/export_usb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QColor kGoodColour(0, 0x46, 0xD5);
const QColor kBadColour(128, 0, 0);

} // namespace

CExportDialog::CExportDialog(CScreen& screen, QWidget* parent, DriveLister drives)
    : QDialog(parent), m_screen(screen),
      m_listDrives(drives ? std::move(drives) : DriveLister(ListRemovableDrives)),
      m_dirLabel(new QLabel(this)), m_drives(new QComboBox(this)), m_refresh(new QPushButton(this)),
      m_folder(new QPushButton(this)), m_options(new QGroupBox(this)),
      m_includeParams(new QCheckBox(m_options)), m_syncClock(new QCheckBox(m_options)),
      m_adjust(new QSpinBox(m_options)), m_seconds(new QLabel(m_options)),
      m_save(new QPushButton(this)), m_cancel(new QPushButton(this)), m_help(new QPushButton(this)),
      m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("exportDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_drives->setObjectName(QStringLiteral("driveList"));
    m_drives->setMinimumWidth(300);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_folder->setObjectName(QStringLiteral("folderButton"));
    m_dirLabel->setBuddy(m_drives);
    m_includeParams->setObjectName(QStringLiteral("includeParams"));
    m_syncClock->setObjectName(QStringLiteral("syncClock"));
    m_adjust->setObjectName(QStringLiteral("adjustSeconds"));
    m_adjust->setRange(0, kExportMaxAdjust);
    m_adjust->setValue(20);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_save->setDefault(true);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(m_dirLabel);
    driveRow->addWidget(m_drives, 1);
    driveRow->addWidget(m_refresh);
    driveRow->addWidget(m_folder);

    auto* optionsLayout = new QGridLayout(m_options);
    optionsLayout->addWidget(m_includeParams, 0, 0, 1, 3);
    optionsLayout->addWidget(m_syncClock, 1, 0);
    optionsLayout->addWidget(m_adjust, 1, 1);
    optionsLayout->addWidget(m_seconds, 1, 2);
    optionsLayout->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(driveRow);
    layout->addWidget(m_options);
    layout->addLayout(buttons);

    connect(m_refresh, &QPushButton::clicked, this, [this] { RefreshDrives(); });
    connect(m_folder, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, tr("Export into a folder"), m_folders.isEmpty() ? QString() : m_folders.last());
        if (!folder.isEmpty())
            AddFolder(folder);
    });
    connect(m_includeParams, &QCheckBox::clicked, this,
            [this](bool checked) { OnIncludeParams(checked); });
    connect(m_save, &QPushButton::clicked, this, [this] { Save(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });
    // Help has nothing to show.

    retranslateUi();
    RefreshDrives();
}

void CExportDialog::retranslateUi()
{
    setWindowTitle(tr("Export To USB Disk"));
    m_dirLabel->setText(tr("DIR:"));
    m_refresh->setText(tr("Refresh"));
    m_folder->setText(tr("Folder..."));
    m_adjust->setAccessibleName(tr("Sync timer, adjust"));
    m_options->setTitle(tr("Options"));
    m_includeParams->setText(tr("Include panel parameters"));
    m_syncClock->setText(tr("Sync timer, adjust"));
    m_seconds->setText(tr("second(s)"));
    m_save->setText(tr("Save"));
    m_cancel->setText(tr("Cancel"));
    m_help->setText(tr("Help"));
    if (m_folderStatus)
        m_status->setText(tr("The files go into the chosen folder."));
    else if (!m_statusText.isEmpty())
        m_status->setText(TranslateStatus(m_statusText));
}

void CExportDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

QString CExportDialog::TranslateStatus(const QString& coreText)
{
    if (coreText == ExportStatusDetected())
        return tr("Detected USB disk.");
    if (coreText == ExportStatusNoDisk())
        return tr("No USB disk be found.");
    if (coreText == ExportStatusCreateFailed())
        return tr("Failed on create file.");
    if (coreText == ExportStatusWriteFailed())
        return tr("Failed on write file.");
    if (coreText == ExportStatusSucceeded())
        return tr("Save project succeed.");
    if (coreText == ExportParamsQuestion())
        return tr("This function is limited to professionals, continue?");
    return coreText;
}

void CExportDialog::SetStatus(const QString& coreText, bool good)
{
    m_statusText = coreText;
    m_statusGood = good;
    m_folderStatus = false;
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::WindowText, good ? kGoodColour : kBadColour);
    m_status->setPalette(palette);
    m_status->setText(TranslateStatus(coreText));
}

void CExportDialog::RefreshDrives()
{
    m_drives->clear();
    for (const RemovableDrive& drive : m_listDrives())
        m_drives->addItem(DriveLine(drive), drive.rootPath);
    for (const QString& folder : m_folders) {
        if (m_drives->findData(folder) < 0)
            m_drives->addItem(QDir::toNativeSeparators(folder), folder);
    }
    const bool found = m_drives->count() > 0;
    if (found)
        m_drives->setCurrentIndex(0);
    m_save->setEnabled(found);
    SetStatus(found ? ExportStatusDetected() : ExportStatusNoDisk(), found);
}

void CExportDialog::AddFolder(const QString& folder)
{
    const QString path = QDir(folder).absolutePath();
    if (!m_folders.contains(path))
        m_folders.append(path);
    if (m_drives->findData(path) < 0)
        m_drives->addItem(QDir::toNativeSeparators(path), path);
    m_drives->setCurrentIndex(m_drives->findData(path));
    m_save->setEnabled(true);
    SetStatus(QString(), true);
    m_folderStatus = true;
    m_status->setText(tr("The files go into the chosen folder."));
}

void CExportDialog::OnIncludeParams(bool checked)
{
    if (!checked)
        return;
    QMessageBox box(QMessageBox::Warning, windowTitle(), TranslateStatus(ExportParamsQuestion()),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("questionBox"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        m_includeParams->setChecked(false);
}

void CExportDialog::Save()
{
    const QString root = m_drives->currentData().toString();
    if (root.isEmpty())
        return;
    ExportOptions options;
    options.includeParams = m_includeParams->isChecked();
    options.syncClock = m_syncClock->isChecked();
    options.adjustSeconds = m_adjust->value();

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ExportResult result = ExportScreen(m_screen, root, options);
    QApplication::restoreOverrideCursor();

    switch (result.outcome) {
    case ExportOutcome::Nothing:
    case ExportOutcome::Empty:
        break;
    case ExportOutcome::Failed:
        QApplication::beep();
        SetStatus(result.status, false);
        break;
    case ExportOutcome::Succeeded:
        QApplication::beep();
        SetStatus(result.status, true);
        break;
    }
}
