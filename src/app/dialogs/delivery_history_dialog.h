#pragma once

#include "comm/delivery_receipts.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// View > Delivery History: the receipts of the delivery store, newest last, with their time,
// project, screen, link, card, bytes, result and error; the SHA-256 of what was sent is a
// column of its own and can be copied. At first only the open project's receipts are
// listed (all of them for an untitled project). A store that cannot be read is said in the
// dialog; nothing else depends on it.
class CDeliveryHistoryDialog final : public QDialog
{
    Q_OBJECT

public:
    enum Column { Time, Project, Screen, Link, Card, Bytes, Result, Error, Sha256, ColumnCount };

    // projectFile: the open project's file (empty for an untitled project).
    explicit CDeliveryHistoryDialog(const QString& projectFile, QWidget* parent = nullptr);

    int RowCount() const;
    QString Cell(int row, Column column) const;
    // The SHA-256 of the chosen row, as Copy SHA-256 puts it on the clipboard.
    QString ChosenDigest() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void Read();
    void Fill();

    QString m_projectFile;
    QList<DeliveryReceipt> m_receipts;
    QString m_readError;
    QLabel* m_intro;
    QCheckBox* m_onlyThisProject;
    QTreeWidget* m_list;
    QPushButton* m_copy;
    QPushButton* m_close;
};
