#pragma once

// The controller link a screen owns (its serial and UDP transports). The link itself
// lives in the communication level; the model only needs to close it.
class CScreenLink
{
public:
    virtual ~CScreenLink() = default;
    // Closes the transport in use; called before the link kind changes.
    virtual void CloseLink() = 0;
};
