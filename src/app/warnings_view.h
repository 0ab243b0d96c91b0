#pragma once

#include <QAbstractListModel>
#include <QWidget>

class CLumivantDoc;
class CProjectObject;
class CProjectWarnings;
class QLabel;
class QListView;

// The warnings as rows: one short line each, naming the object.
class CWarningsModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    CWarningsModel(CLumivantDoc& doc, CProjectWarnings& warnings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The object of a row (null for the file as a whole or outside the rows).
    CProjectObject* ObjectAt(int row) const;

private:
    CLumivantDoc& m_doc;
    CProjectWarnings& m_warnings;
};

// The list of warnings under the preview: what will not show as meant, updated after the
// edits; a click selects the object in the tree. It checks only while it is shown.
class CWarningsView final : public QWidget
{
    Q_OBJECT

public:
    // Up to this many rows the lines wrap; beyond, each row is one line.
    static constexpr int kWrappedRows = 300;

    CWarningsView(CLumivantDoc& doc, CProjectWarnings& warnings, QWidget* parent = nullptr);

    QListView& List() { return *m_list; }
    CWarningsModel& Model() { return *m_model; }
    QString Summary() const;

signals:
    // The person chose a row: the object to select in the tree.
    void objectChosen(CProjectObject* object);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Choose(const QModelIndex& index);
    void UpdateSummary();

    CProjectWarnings& m_warnings;
    CWarningsModel* m_model;
    QLabel* m_summary;
    QListView* m_list;
};
