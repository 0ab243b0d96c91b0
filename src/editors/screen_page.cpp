#include "editors/screen_page.h"

#include "base/string_table.h"
#include "config/model_info.h"
#include "document/lumivant_doc.h"
#include "editors/delivery_text.h"
#include "model/screen.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

// Fills the %s and %d of a numbered text in order.
QString FillIn(QString format, const QStringList& values)
{
    for (const QString& value : values) {
        const qsizetype s = format.indexOf(QStringLiteral("%s"));
        const qsizetype d = format.indexOf(QStringLiteral("%d"));
        qsizetype at = s < 0 ? d : (d < 0 ? s : std::min(s, d));
        if (at < 0)
            break;
        format.replace(at, 2, value);
    }
    return format;
}

} // namespace

CScreenPage::CScreenPage(CScreen& screen, CLumivantDoc& doc, const ScreenCommands& commands,
                         QWidget* parent)
    : CPageBase(screen, doc, parent)
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("screenName"));
    m_name->setMaxLength(CProjectObject::kNameCapacity);
    m_panel = new QLabel(this);
    m_panel->setMinimumWidth(200);
    m_panel->setObjectName(QStringLiteral("panelSummary"));
    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("linkSummary"));
    m_delivery = new QLabel(this);
    m_delivery->setObjectName(QStringLiteral("lastDelivery"));
    m_delivery->setWordWrap(true);
    m_delivery->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* panelBox = new QGroupBox(this);
    Relabel([panelBox] { panelBox->setTitle(tr("Panel properties")); });
    (new QVBoxLayout(panelBox))->addWidget(m_panel);
    auto* linkBox = new QGroupBox(this);
    Relabel([linkBox] { linkBox->setTitle(tr("Communication")); });
    (new QVBoxLayout(linkBox))->addWidget(m_link);
    auto* deliveryBox = new QGroupBox(this);
    Relabel([deliveryBox] { deliveryBox->setTitle(tr("Last delivery")); });
    (new QVBoxLayout(deliveryBox))->addWidget(m_delivery);

    auto* buttons = new QVBoxLayout;
    const struct
    {
        const char* name;
        QAction* action;
        std::function<QString()> label;
    } kButtons[] = {
        {"syncTimer", commands.syncTimer, [] { return tr("Sync Timer"); }},
        {"setup", commands.setup, [] { return tr("Setup"); }},
        {"brightness", commands.brightness, [] { return tr("Brightness"); }},
        {"power", commands.power, [] { return tr("Turn On/Off"); }},
    };
    for (const auto& entry : kButtons) {
        QAction* action = entry.action;
        if (!action)
            continue;
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(entry.name));
        Relabel([button, label = entry.label] {
            button->setText(label());
            button->setAccessibleName(label());
        });
        // The button is the action's: one click runs it once, and it is off when the
        // action is.
        button->setEnabled(action->isEnabled());
        connect(action, &QAction::changed, button,
                [button, action] { button->setEnabled(action->isEnabled()); });
        connect(button, &QPushButton::clicked, action, [action] {
            if (action->isEnabled())
                action->trigger();
        });
        buttons->addWidget(button);
    }
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(panelBox, 0, 0);
    grid->addWidget(linkBox, 0, 1);
    grid->addLayout(buttons, 0, 2, 2, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(MakeLabel([] { return tr("Name:"); }));
    nameRow->addWidget(m_name, 1);
    grid->addLayout(nameRow, 1, 0, 1, 2);
    grid->addWidget(deliveryBox, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    Relabel([this] {
        if (IsReady())
            Load();
    });

    // A send of this screen left a new receipt.
    connect(&doc, &CLumivantDoc::delivered, this, [this](CScreen* screen) {
        if (screen == &Screen())
            m_delivery->setText(DeliveryLine(Screen()));
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        Edit(
            RefreshCode::Name, false, [&] { Screen().SetName(text); }, m_nameMerge);
    });
    Load();
}

CScreen& CScreenPage::Screen() const
{
    return static_cast<CScreen&>(Object());
}

QString CScreenPage::PanelSummary(const CScreen& screen)
{
    CModelInfo model;
    model.AssignFromIdentity(screen.Identity());
    const int colourType = screen.Params().U8(ControllerParams::ColourType);
    const int colourText = colourType == 2 ? 41019 : colourType == 3 ? 41020 : 41018;
    return FillIn(LoadString(41015),
                  {model.GetName(), LoadString(colourText), QString::number(screen.Width()),
                   QString::number(screen.Height())});
}

QString CScreenPage::LinkSummary(const CScreen& screen)
{
    const LinkSettings& link = screen.Link();
    if (link.Kind() == LinkKind::Network) {
        return FillIn(LoadString(41017), {link.remoteIp, QString::number(link.remotePort),
                                          QString::number(link.panelId)});
    }
    return FillIn(LoadString(41016), {QString::number(link.comPort), QString::number(link.baudRate),
                                      QString::number(link.panelId)});
}

QString CScreenPage::DeliveryLine(const CScreen& screen)
{
    QString error;
    const std::optional<DeliveryReceipt> last = LastDeliveryOf(screen, &error);
    // A store that cannot be read says so here and stops nothing.
    if (!error.isEmpty())
        return error;
    return last ? DeliverySummary(*last) : LoadString(62014);
}

void CScreenPage::LoadControls()
{
    const CScreen& screen = Screen();
    QSignalBlocker blocker(m_name);
    m_name->setText(screen.GetName());
    m_panel->setText(PanelSummary(screen));
    m_link->setText(LinkSummary(screen));
    m_delivery->setText(DeliveryLine(screen));
}
