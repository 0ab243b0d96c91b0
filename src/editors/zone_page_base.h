#pragma once

#include "editors/page_base.h"

class CEffectZone;
class CWindowPage;

// A zone's content page: the page of the zone's window at the left, the zone's own
// controls in Content() beside it.
class CZonePageBase : public CPageBase
{
    Q_OBJECT

public:
    CZonePageBase(CEffectZone& zone, CLumivantDoc& doc, QWidget* parent);

    CWindowPage* WindowPage() const { return m_windowPage; }

protected:
    CEffectZone& Zone() const;
    QWidget* Content() const { return m_content; }
    // Edits of content that the zone shows: re-rendered after the delay.
    void EditContent(const std::function<void()>& change, int mergeId = 0)
    {
        Edit(RefreshCode::Content, true, change, mergeId);
    }

private:
    CWindowPage* m_windowPage = nullptr;
    QWidget* m_content;
};
