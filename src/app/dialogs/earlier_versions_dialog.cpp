#include "app/dialogs/earlier_versions_dialog.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CEarlierVersionsDialog::CEarlierVersionsDialog(const QString& filePath, QWidget* parent)
    : QDialog(parent), m_filePath(filePath),
      m_versions(filePath.isEmpty() ? QList<EarlierVersion>() : CEarlierVersions(filePath).List()),
      m_intro(new QLabel(this)), m_list(new QTreeWidget(this)), m_open(new QPushButton(this)),
      m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("earlierVersionsDialog"));
    m_intro->setWordWrap(true);
    m_intro->setObjectName(QStringLiteral("intro"));
    m_list->setObjectName(QStringLiteral("versionList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(3);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_intro->setBuddy(m_list);
    m_open->setObjectName(QStringLiteral("openButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_open->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_open);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(480, 320);

    connect(m_open, &QPushButton::clicked, this, [this] {
        if (!ChosenVersion().isEmpty())
            accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { m_open->click(); });
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_open->setEnabled(!ChosenVersion().isEmpty()); });
    retranslateUi();
}

void CEarlierVersionsDialog::retranslateUi()
{
    setWindowTitle(tr("Restore Earlier Version"));
    const QString name = QDir::toNativeSeparators(m_filePath);
    m_intro->setText(m_versions.isEmpty()
                         ? tr("No earlier version of %1 is kept.").arg(name)
                         : tr("Earlier versions of %1, newest first. Open takes the chosen one "
                              "as a new project; the file stays as it is.")
                               .arg(name));
    m_list->setHeaderLabels({tr("Date"), tr("Time"), tr("Size")});
    m_list->setAccessibleName(tr("Earlier versions"));
    m_open->setText(tr("Open"));
    m_cancel->setText(tr("Cancel"));
    Fill();
}

void CEarlierVersionsDialog::Fill()
{
    const int current = m_list->currentIndex().row();
    m_list->clear();
    const QLocale locale;
    for (const EarlierVersion& version : m_versions) {
        const QDateTime written = version.writtenAt.toLocalTime();
        auto* item =
            new QTreeWidgetItem(m_list, {locale.toString(written.date(), QLocale::ShortFormat),
                                         written.time().toString(QStringLiteral("HH:mm:ss")),
                                         tr("%1 bytes").arg(locale.toString(version.size))});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(current >= 0 ? current : 0));
    m_open->setEnabled(!ChosenVersion().isEmpty());
}

QString CEarlierVersionsDialog::ChosenVersion() const
{
    const int row = m_list->currentIndex().row();
    return row >= 0 && row < m_versions.size() ? m_versions[row].path : QString();
}

void CEarlierVersionsDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
