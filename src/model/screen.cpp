#include "model/screen.h"

#include "base/last_error.h"
#include "model/effect_zone.h"
#include "model/indexed_key.h"
#include "model/prepare_hooks.h"
#include "model/program.h"
#include "model/property_io.h"
#include "model/screen_link.h"

#include <QByteArray>

namespace {

template <typename T>
void ParamField(CPropertyIo& io, const char* key, ControllerParams& params, int offset)
{
    T value{};
    if constexpr (sizeof(T) == 1)
        value = static_cast<T>(params.U8(offset));
    else if constexpr (sizeof(T) == 2)
        value = static_cast<T>(params.U16(offset));
    else
        value = static_cast<T>(params.U32(offset));
    if (!io.Int(key, value))
        return;
    if constexpr (sizeof(T) == 1)
        params.SetU8(offset, static_cast<std::uint8_t>(value));
    else if constexpr (sizeof(T) == 2)
        params.SetU16(offset, static_cast<std::uint16_t>(value));
    else
        params.SetU32(offset, static_cast<std::uint32_t>(value));
}

// A timetable entry: end, start (with its not-in-use bit) and value.
void ScheduleFields(CPropertyIo& io, const char* prefix, int index, ControllerParams& params,
                    int entryOffset)
{
    ParamField<std::uint16_t>(io, IndexedKey(prefix, 20 + index), params, entryOffset + 2);
    ParamField<std::uint16_t>(io, IndexedKey(prefix, 40 + index), params, entryOffset);
    ParamField<std::uint8_t>(io, IndexedKey(prefix, 50 + index), params, entryOffset + 4);
}

QString DottedQuad(const ControllerParams& params)
{
    const int ip = ControllerParams::Ip;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(params.U8(ip))
        .arg(params.U8(ip + 1))
        .arg(params.U8(ip + 2))
        .arg(params.U8(ip + 3));
}

} // namespace

CScreen::CScreen(CProjectObject* parent) : CProjectObject(parent)
{
    AssignDefaultName(41000, KindScreen);
}

CScreen::~CScreen() = default;

void CScreen::SetLinkKind(int kind)
{
    if (m_linkObject)
        m_linkObject->CloseLink();
    m_link.linkKind = kind;
}

void CScreen::SetLinkObject(std::unique_ptr<CScreenLink> link)
{
    m_linkObject = std::move(link);
}

void CScreen::VisitProperties(CPropertyIo& io)
{
    CProjectObject::VisitProperties(io);
    using P = ControllerParams;
    ControllerParams& p = m_params;
    ParamField<std::uint8_t>(io, "pc", p, P::ColourType);
    ParamField<std::uint8_t>(io, "pd", p, P::DataPolarity);
    ParamField<std::int32_t>(io, "pde", p, P::BaudRate);
    ParamField<std::uint8_t>(io, "pf", p, P::Frequency);
    ParamField<std::uint16_t>(io, "ph1", p, P::Height);
    ParamField<std::uint8_t>(io, "ph2", p, P::Blanking);
    ParamField<std::int8_t>(io, "pl", p, P::RowOrder);
    ParamField<std::uint8_t>(io, "po1", p, P::OePolarity);
    ParamField<std::uint8_t>(io, "po2", p, P::PanelFlags);
    ParamField<std::uint16_t>(io, "pp", p, P::PanelId);
    ParamField<std::uint8_t>(io, "pr0", p, P::Reserved);
    ParamField<std::uint8_t>(io, "pr1", p, P::Reserved + 1);
    ParamField<std::uint8_t>(io, "pr2", p, P::Reserved + 2);
    ParamField<std::uint8_t>(io, "pr3", p, P::Reserved + 3);
    ParamField<std::uint8_t>(io, "pr4", p, P::PixelOrder);
    ParamField<std::uint8_t>(io, "ps", p, P::ScanMode);
    ParamField<std::uint16_t>(io, "pw", p, P::Width);
    ParamField<std::uint8_t>(io, "pwb", p, P::FoldMode);
    for (int k = 0; k < P::kBrightnessEntries; ++k)
        ScheduleFields(io, "ll", k, p, P::BrightnessSchedule + 5 * k);
    ParamField<std::uint8_t>(io, "ll1", p, P::Brightness);
    ParamField<std::uint8_t>(io, "ll2", p, P::BrightnessMode);
    for (int k = 0; k < P::kPowerEntries; ++k)
        ScheduleFields(io, "si", k, p, P::PowerSchedule + 5 * k);
    ParamField<std::uint8_t>(io, "sr0", p, P::PowerReserved0);
    ParamField<std::uint8_t>(io, "sr1", p, P::PowerReserved1);
    ParamField<std::uint8_t>(io, "ss1", p, P::PowerMode);
    ParamField<std::uint8_t>(io, "ss2", p, P::PowerState);
    static const char* const kIpKeys[] = {"ili0", "ili1", "ili2", "ili3"};
    for (int i = 0; i < 4; ++i)
        ParamField<std::uint8_t>(io, kIpKeys[i], p, P::Ip + i);
    static const char* const kMacKeys[] = {"ilm0", "ilm1", "ilm2", "ilm3", "ilm4", "ilm5"};
    for (int i = 0; i < 6; ++i)
        ParamField<std::uint8_t>(io, kMacKeys[i], p, P::Mac + i);
    ParamField<std::uint16_t>(io, "ilp", p, P::UdpPort);

    const bool reading = io.IsReading();
    if (reading) {
        m_link.panelId = p.U16(P::PanelId);
        m_link.remotePort = p.UdpPortNumber();
        m_link.remoteIp = DottedQuad(p);
    }
    io.Int("cbr", m_link.baudRate);
    io.Int("cpt", m_link.comPort);
    std::int32_t linkKind = m_link.linkKind;
    if (io.Int("ctp", linkKind))
        SetLinkKind(linkKind);
    io.Int("to", m_link.timeoutMs);
    QString remoteIp = m_link.remoteIp;
    if (io.Text("sli", remoteIp, LinkSettings::kRemoteIpCapacity - 1))
        m_link.remoteIp = remoteIp;

    if (reading)
        m_identity = {};
    static const char* const kIdentityKeys[] = {"v0", "v1", "v2", "v3", "v4"};
    for (int i = 0; i < 5; ++i)
        io.Int(kIdentityKeys[i], m_identity[i]);
    io.Int("slt", m_selected);
}

bool CScreen::SizeAllowed(QString* reason) const
{
    if (Width() <= kMaxWidth && Height() <= kMaxHeight)
        return true;
    if (reason)
        *reason = QStringLiteral("The screen is %1 x %2 pixels; a screen has at most %3 x %4.")
                      .arg(Width())
                      .arg(Height())
                      .arg(kMaxWidth)
                      .arg(kMaxHeight);
    return false;
}

namespace {

// Borders as their programs come, zones (and zones inside zones) in tree order.
void CollectForPrepare(CProjectObject& object, RenderForm form, std::vector<CEffectZone*>& zones)
{
    for (int i = 0; i < object.GetChildCount(); ++i) {
        CProjectObject* child = object.GetChild(i);
        if (IsZoneKind(child->GetKind()))
            zones.push_back(static_cast<CEffectZone*>(child));
        else if (child->GetKind() == KindProgram)
            static_cast<CProgram*>(child)->PrepareBorder(form);
        CollectForPrepare(*child, form, zones);
    }
}

} // namespace

void CScreen::Prepare(RenderForm form)
{
    QString reason;
    if (!SizeAllowed(&reason)) {
        RecordError(reason);
        return;
    }
    std::vector<CEffectZone*> zones;
    CollectForPrepare(*this, form, zones);
    PrepareHooks().PrepareZones(zones, form);
}

void CScreen::FitWindows()
{
    ForEachChild([](CProjectObject& child) {
        if (child.GetKind() == KindProgram)
            static_cast<CProgram&>(child).FitWindows();
    });
}

bool CScreen::FindOverlap(QString& names) const
{
    bool found = false;
    ForEachChild([&](const CProjectObject& child) {
        if (child.GetKind() == KindProgram &&
            static_cast<const CProgram&>(child).FindOverlap(names))
            found = true;
    });
    return found;
}
