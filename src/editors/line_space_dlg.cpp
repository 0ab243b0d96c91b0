#include "editors/line_space_dlg.h"

#include "editors/control_names.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CLineSpaceDlg::CLineSpaceDlg(const LineSpacing& spacing, int zoneHeight, QWidget* parent)
    : QDialog(parent), m_initial(spacing), m_zoneHeight(zoneHeight), m_custom(new QCheckBox(this)),
      m_lineLabel(new QLabel(this)), m_topLabel(new QLabel(this)), m_lineSpace(new QSpinBox(this)),
      m_topSpace(new QSpinBox(this))
{
    m_custom->setObjectName(QStringLiteral("customLineSpace"));
    m_lineSpace->setObjectName(QStringLiteral("lineSpace"));
    m_topSpace->setObjectName(QStringLiteral("topSpace"));
    m_lineSpace->setRange(kMinLineSpace, kMaxLineSpace);
    m_topSpace->setRange(kMinTopSpace, kMaxTopSpace);

    auto* form = new QFormLayout;
    form->addRow(m_lineLabel, m_lineSpace);
    form->addRow(m_topLabel, m_topSpace);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_custom);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const bool custom = IsCustomLineSpacing(spacing);
    m_custom->setChecked(custom);
    m_lineSpace->setValue(spacing.lineSpace);
    m_topSpace->setValue(spacing.topSpace);
    m_lineSpace->setEnabled(custom);
    m_topSpace->setEnabled(custom);
    connect(m_custom, &QCheckBox::toggled, this, &CLineSpaceDlg::OnCustomToggled);
    retranslateUi();
    NameControlsByTheirLabels(this);
}

LineSpacing CLineSpaceDlg::Result() const
{
    if (!m_custom->isChecked())
        return {};
    return {m_lineSpace->value(), m_topSpace->value()};
}

void CLineSpaceDlg::OnCustomToggled(bool checked)
{
    if (checked && !IsCustomLineSpacing(m_initial)) {
        const LineSpacing proposed = ProposedLineSpacing(m_initial, m_zoneHeight);
        m_lineSpace->setValue(proposed.lineSpace);
        m_topSpace->setValue(proposed.topSpace);
    }
    m_lineSpace->setEnabled(checked);
    m_topSpace->setEnabled(checked);
}

void CLineSpaceDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void CLineSpaceDlg::retranslateUi()
{
    setWindowTitle(tr("Line space"));
    m_custom->setText(tr("Customer line space"));
    m_lineLabel->setText(tr("Line space:"));
    m_topLabel->setText(tr("Top space:"));
}
