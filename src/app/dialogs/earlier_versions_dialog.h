#pragma once

#include "base/earlier_versions.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// File > Restore Earlier Version: the earlier versions of the open project's file, newest
// first, with the date and time each was written and its size. Open takes the chosen one;
// the file itself stays as it is.
class CEarlierVersionsDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit CEarlierVersionsDialog(const QString& filePath, QWidget* parent = nullptr);

    // The copy of the chosen version (after Open), or nothing.
    QString ChosenVersion() const;
    int VersionCount() const { return int(m_versions.size()); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslateUi();
    void Fill();

    QString m_filePath;
    QList<EarlierVersion> m_versions;
    QLabel* m_intro;
    QTreeWidget* m_list;
    QPushButton* m_open;
    QPushButton* m_cancel;
};
