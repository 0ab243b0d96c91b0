#include "app/dialogs/options_dialog.h"

#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "editors/control_names.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kExitChoices = 41092;
constexpr int kTipChoices = 41093;

// Fills the list with the numbered choices, keeping the selected index.
void FillChoices(QComboBox& box, int textId, int selected)
{
    box.clear();
    box.addItems(LoadStringList(textId));
    box.setCurrentIndex(qBound(0, selected, box.count() - 1));
}

} // namespace

COptionsDialog::COptionsDialog(QWidget* parent)
    : QDialog(parent), m_exitLabel(new QLabel(this)), m_exit(new QComboBox(this)),
      m_tipLabel(new QLabel(this)), m_tip(new QComboBox(this)), m_delayLabel(new QLabel(this)),
      m_delay(new QSpinBox(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_exit->setObjectName(QStringLiteral("exitChoice"));
    m_tip->setObjectName(QStringLiteral("tipChoice"));
    m_delay->setObjectName(QStringLiteral("delaySeconds"));
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    m_delay->setRange(kMinDelay, kMaxDelay);
    m_delay->setValue(qBound(kMinDelay, Settings().delay, kMaxDelay));
    FillChoices(*m_exit, kExitChoices, Settings().exit);
    FillChoices(*m_tip, kTipChoices, Settings().tip);

    auto* form = new QFormLayout;
    form->addRow(m_exitLabel, m_exit);
    form->addRow(m_tipLabel, m_tip);
    form->addRow(m_delayLabel, m_delay);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] { accept(); });
    connect(m_buttons, &QDialogButtonBox::rejected, this, [this] { reject(); });
    retranslateUi();
    NameControlsByTheirLabels(this);
}

void COptionsDialog::retranslateUi()
{
    setWindowTitle(tr("Options"));
    m_exitLabel->setText(tr("Before close:"));
    m_tipLabel->setText(tr("Tip with:"));
    m_delayLabel->setText(tr("Default hold:"));
    m_delay->setSuffix(tr(" second(s)"));
    FillChoices(*m_exit, kExitChoices, m_exit->currentIndex());
    FillChoices(*m_tip, kTipChoices, m_tip->currentIndex());
}

void COptionsDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

bool COptionsDialog::Apply()
{
    AppSettings& settings = Settings();
    settings.exit = m_exit->currentIndex();
    settings.tip = m_tip->currentIndex();
    settings.delay = m_delay->value();
    return settings.SaveOptions(SettingsFilePath());
}
