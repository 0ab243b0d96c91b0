#pragma once

#include <QString>

// Why a request could not be served: the HTTP status and the system's text.
struct ApiError
{
    int status = 500;
    QString message;
};
