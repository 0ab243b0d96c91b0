#include "document/screen_settings_step.h"

#include "document/lumivant_doc.h"
#include "model/screen.h"

#include <QCoreApplication>

#include <utility>

namespace {

// Sets field to to's value when from and to differ there.
template <typename T> void Take(T& field, const T& from, const T& to)
{
    if (from != to)
        field = to;
}

bool SameLink(const LinkSettings& a, const LinkSettings& b)
{
    return a.panelId == b.panelId && a.linkKind == b.linkKind && a.comPort == b.comPort &&
           a.baudRate == b.baudRate && a.remotePort == b.remotePort && a.remoteIp == b.remoteIp &&
           a.timeoutMs == b.timeoutMs;
}

} // namespace

ScreenSettings ScreenSettings::Of(const CScreen& screen)
{
    ScreenSettings settings;
    settings.params = screen.Params();
    settings.link = screen.Link();
    settings.identity = screen.Identity();
    settings.selected = screen.GetSelected();
    return settings;
}

bool operator==(const ScreenSettings& a, const ScreenSettings& b)
{
    return a.params == b.params && SameLink(a.link, b.link) && a.identity == b.identity &&
           a.selected == b.selected;
}

CScreenSettingsStep::CScreenSettingsStep(CLumivantDoc& doc, const CScreen& screen,
                                         const ScreenSettings& before, const ScreenSettings& after,
                                         int mergeId, const QString& what, bool sent)
    : QUndoCommand(Label(what, sent)), m_doc(doc), m_screen(screen.GetId()), m_before(before),
      m_after(after), m_mergeId(mergeId), m_what(what), m_sent(sent)
{}

QString CScreenSettingsStep::Label(const QString& what, bool sent)
{
    if (!sent)
        return what;
    return QCoreApplication::translate("CLumivantDoc", "%1 (sent to the panel)").arg(what);
}

void CScreenSettingsStep::redo()
{
    if (std::exchange(m_done, false))
        return;
    Apply(m_before, m_after);
}

bool CScreenSettingsStep::mergeWith(const QUndoCommand* other)
{
    const auto* step = dynamic_cast<const CScreenSettingsStep*>(other);
    if (!step || step->m_mergeId != m_mergeId || step->m_screen != m_screen)
        return false;
    m_after = step->m_after;
    // A trial that reached the card says so, even when its last store did not.
    m_sent = m_sent || step->m_sent;
    setText(Label(m_what, m_sent));
    setObsolete(m_after == m_before);
    return true;
}

void CScreenSettingsStep::Apply(const ScreenSettings& from, const ScreenSettings& to)
{
    CProjectObject* object = m_doc.FindObject(m_screen);
    if (!object || object->GetKind() != KindScreen)
        return;
    auto& screen = static_cast<CScreen&>(*object);
    auto& bytes = screen.Params().Bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        Take(bytes[i], from.params.Bytes()[i], to.params.Bytes()[i]);

    LinkSettings& link = screen.Link();
    if (from.link.linkKind != to.link.linkKind)
        screen.SetLinkKind(to.link.linkKind);
    Take(link.panelId, from.link.panelId, to.link.panelId);
    Take(link.comPort, from.link.comPort, to.link.comPort);
    Take(link.baudRate, from.link.baudRate, to.link.baudRate);
    Take(link.remotePort, from.link.remotePort, to.link.remotePort);
    Take(link.remoteIp, from.link.remoteIp, to.link.remoteIp);
    Take(link.timeoutMs, from.link.timeoutMs, to.link.timeoutMs);
    if (from.identity != to.identity)
        screen.SetIdentity(to.identity);
    if (from.selected != to.selected)
        screen.SetSelected(to.selected);

    // A new size or colour type changes what every zone looks like.
    const bool redraw = from.params.PanelWidth() != to.params.PanelWidth() ||
                        from.params.PanelHeight() != to.params.PanelHeight() ||
                        from.params.ColourDepth() != to.params.ColourDepth();
    m_doc.NotifyChanged(screen, RefreshCode::Geometry, redraw);
}
