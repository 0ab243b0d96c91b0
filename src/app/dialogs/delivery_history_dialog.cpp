#include "app/dialogs/delivery_history_dialog.h"

#include "editors/delivery_text.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CDeliveryHistoryDialog::CDeliveryHistoryDialog(const QString& projectFile, QWidget* parent)
    : QDialog(parent),
      m_projectFile(projectFile.isEmpty() ? QString() : DeliveryProjectPath(projectFile)),
      m_intro(new QLabel(this)), m_onlyThisProject(new QCheckBox(this)),
      m_list(new QTreeWidget(this)), m_copy(new QPushButton(this)), m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("deliveryHistoryDialog"));
    m_intro->setObjectName(QStringLiteral("intro"));
    m_intro->setWordWrap(true);
    m_intro->setBuddy(m_list);
    m_onlyThisProject->setObjectName(QStringLiteral("onlyThisProject"));
    m_onlyThisProject->setChecked(!m_projectFile.isEmpty());
    m_onlyThisProject->setEnabled(!m_projectFile.isEmpty());
    m_list->setObjectName(QStringLiteral("receiptList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(ColumnCount);
    m_list->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_copy->setObjectName(QStringLiteral("copyDigest"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_onlyThisProject);
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_intro);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(760, 360);

    connect(m_onlyThisProject, &QCheckBox::toggled, this, [this] { Fill(); });
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_copy->setEnabled(!ChosenDigest().isEmpty()); });
    connect(m_copy, &QPushButton::clicked, this, [this] {
        if (!ChosenDigest().isEmpty())
            QGuiApplication::clipboard()->setText(ChosenDigest());
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    Read();
    retranslateUi();
}

void CDeliveryHistoryDialog::Read()
{
    m_receipts.clear();
    m_readError.clear();
    // Looking creates no store.
    if (!QFileInfo::exists(CDeliveryStore::DefaultPath()))
        return;
    const CDeliveryStore store;
    m_receipts = store.List();
    m_readError = store.LastError();
}

void CDeliveryHistoryDialog::retranslateUi()
{
    setWindowTitle(tr("Delivery History"));
    m_list->setHeaderLabels({tr("Time"), tr("Project"), tr("Screen"), tr("Link"), tr("Card"),
                             tr("Bytes"), tr("Result"), tr("Error"), tr("SHA-256")});
    m_list->setAccessibleName(tr("Deliveries"));
    m_onlyThisProject->setText(tr("Only this project"));
    m_copy->setText(tr("Copy SHA-256"));
    m_close->setText(tr("Close"));
    Fill();
}

void CDeliveryHistoryDialog::Fill()
{
    m_list->clear();
    const bool onlyThis = m_onlyThisProject->isChecked() && !m_projectFile.isEmpty();
    for (const DeliveryReceipt& receipt : m_receipts) {
        if (onlyThis && receipt.projectFile != m_projectFile)
            continue;
        QString result;
        switch (receipt.result) {
        case DeliveryResult::Ok:
            result = tr("Sent");
            break;
        case DeliveryResult::Failed:
            result = tr("Failed");
            break;
        case DeliveryResult::Cancelled:
            result = tr("Cancelled");
            break;
        }
        const QString project = receipt.projectFile.isEmpty()
                                    ? tr("(untitled)")
                                    : QDir::toNativeSeparators(receipt.projectFile);
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(Time,
                      receipt.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        item->setText(Project, QFileInfo(project).fileName().isEmpty()
                                   ? project
                                   : QFileInfo(project).fileName());
        item->setToolTip(Project, project);
        item->setText(Screen,
                      QStringLiteral("%1 %2").arg(receipt.screenNumber).arg(receipt.screenName));
        item->setText(Link, receipt.link);
        item->setText(
            Card, QStringLiteral("%1 %2").arg(receipt.cardModel, receipt.cardVersion).trimmed());
        item->setText(Bytes, GroupedNumber(receipt.bytes));
        item->setTextAlignment(Bytes, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(Result, result);
        item->setText(Error, receipt.error);
        item->setToolTip(Error, receipt.error);
        item->setText(Sha256, QString::fromLatin1(receipt.sha256));
    }
    for (int column = 0; column < Error; ++column)
        m_list->resizeColumnToContents(column);
    const int count = m_list->topLevelItemCount();
    if (!m_readError.isEmpty())
        m_intro->setText(m_readError);
    else if (count == 0)
        m_intro->setText(tr("No deliveries yet."));
    else
        m_intro->setText(tr("%1 deliveries, the newest last.").arg(count));
    // The newest in sight.
    if (count > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(count - 1));
        m_list->scrollToBottom();
    }
    m_copy->setEnabled(!ChosenDigest().isEmpty());
}

int CDeliveryHistoryDialog::RowCount() const
{
    return m_list->topLevelItemCount();
}

QString CDeliveryHistoryDialog::Cell(int row, Column column) const
{
    const QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item ? item->text(column) : QString();
}

QString CDeliveryHistoryDialog::ChosenDigest() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->text(Sha256) : QString();
}

void CDeliveryHistoryDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}
