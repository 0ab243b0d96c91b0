#pragma once

#include "model/controller_params.h"
#include "model/link_settings.h"
#include "model/project_object.h"

#include <array>
#include <cstdint>
#include <memory>

class CScreenLink;

// One LED display with its controller card: the controller's parameter block, the way to
// reach it and the identity it reported. Holds programs.
class CScreen : public CProjectObject
{
public:
    static constexpr int kMaxPrograms = 200;
    // The largest panel the setup dialogs accept. The block could say 65535 x 65535, which
    // no controller drives and whose pictures alone would take gigabytes.
    static constexpr int kMaxWidth = 8192;
    static constexpr int kMaxHeight = 512;

    explicit CScreen(CProjectObject* parent);
    ~CScreen() override;

    int GetKind() const override { return KindScreen; }
    int GetImageIndex() const override { return 18; }
    void VisitProperties(CPropertyIo& io) override;
    // Prepares the programs' borders, then every zone of the screen as one batch; renders
    // nothing for a screen beyond the largest size (the reason goes to the last-error text).
    void Prepare(RenderForm form) override;

    // False with the reason for a panel size beyond kMaxWidth x kMaxHeight.
    bool SizeAllowed(QString* reason = nullptr) const;

    ControllerParams& Params() { return m_params; }
    const ControllerParams& Params() const { return m_params; }
    // The on/off part of the block (24 bytes from offset 56).
    std::uint8_t* PowerBlock()
    {
        return m_params.Bytes().data() + ControllerParams::kPowerBlockOffset;
    }

    LinkSettings& Link() { return m_link; }
    const LinkSettings& Link() const { return m_link; }
    // Changing the link kind first closes the transport in use.
    void SetLinkKind(int kind);

    int ColourDepth() const { return m_params.ColourDepth(); }
    int Width() const { return m_params.PanelWidth(); }
    int Height() const { return m_params.PanelHeight(); }
    int BaudRate() const { return static_cast<int>(m_params.U32(ControllerParams::BaudRate)); }

    const std::array<std::uint8_t, 5>& Identity() const { return m_identity; }
    void SetIdentity(const std::array<std::uint8_t, 5>& identity) { m_identity = identity; }

    int GetSelected() const { return m_selected; }
    void SetSelected(int selected) { m_selected = selected; }

    // The controller link, created by the communication level on first use.
    CScreenLink* LinkObject() const { return m_linkObject.get(); }
    void SetLinkObject(std::unique_ptr<CScreenLink> link);

    // Geometry of all programs; see CProgram.
    void FitWindows();
    bool FindOverlap(QString& names) const;

private:
    ControllerParams m_params;
    LinkSettings m_link;
    std::array<std::uint8_t, 5> m_identity{};
    std::int32_t m_selected = 1;
    std::unique_ptr<CScreenLink> m_linkObject;
};
