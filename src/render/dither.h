#pragma once

#include "model/image_key_params.h"

#include <QImage>
#include <QString>

// Dithering for photos: instead of each channel switched fully on above the pixel limit
// (which turns a photo into a few solid blocks), the picture is spread by error diffusion
// over the colours the screen shows, so that its tones survive as a mix of lit and dark
// LEDs.
//
// A red sign shows a picture's brightness in red; a red and green sign shows blue as a
// little of both. Pixels the key colour takes stay dark, and no colour the key would take
// is used, so the zone's key setting keeps working on the result.
QImage DitherToScreenColours(const QImage& page, int colourDepth, const ImageKeyParams& key);

// Reads the picture at width x height, dithers it and writes it as a PNG into the folder,
// named after the source ("photo-dithered.png"; a further number when a different file of
// that name is there). written is the path of the file the zone is then to show. False with
// the reason in the system's words (nothing is written): not a picture, an animation, or a
// folder that cannot be written.
// Where a dithered picture of the source goes for an object of a project: beside the
// project file, or beside the source while the project has never been saved.
QString DitheredPictureFolder(const class CProjectObject& object, const QString& source);

bool WriteDitheredPicture(const QString& source, int width, int height, int colourDepth,
                          const ImageKeyParams& key, const QString& folder, QString& written,
                          QString& reason);
