#pragma once

#include "render/sign_picture.h"

#include <QImage>
#include <QString>

#include <functional>

class CScreen;

// The pictures of a rendered screen, as lumivant-cli render writes them: every page of
// every zone, named "sS-pP-wW-zZ-pageN", and per program the first page of each window at
// its place inside the program's border, named "sS-pP" (screen, program, window, zone and
// page numbers from 1). In the card's form the pages come in the order the card plays
// them, in the designer's form as the zone holds them. picture() returns false to stop.
using ScreenPictureSink = std::function<bool(const QString& name, const QImage& picture)>;
void ForEachScreenPicture(const CScreen& screen, int screenNumber,
                          const ScreenPictureSink& picture, SignForm form = SignForm::Card);

// The name of a zone's page picture.
QString ZonePictureName(int screen, int program, int window, int zone, int page);
