#pragma once

#include "model/object_kind.h"

#include <QDateTime>
#include <QImage>

#include <cstdint>
#include <vector>

class CAnimateZone;
class CClockZone;
class CCountdownZone;
class CDateTimeZone;
class CEffectZone;
class CImageZone;
class CProgram;
class CTableZone;
class CTemperatureZone;
class CTextZone;

// Each renders its zone's pages (replacing the old ones) for the form.
void RenderTextZone(CTextZone& zone);
void RenderImageZone(CImageZone& zone, RenderForm form);
void RenderTableZone(CTableZone& zone);
void RenderAnimateZone(CAnimateZone& zone);
void RenderClockZone(CClockZone& zone, RenderForm form, const QDateTime& now);
void RenderDateTimeZone(CDateTimeZone& zone, RenderForm form, const QDateTime& now);
void RenderTemperatureZone(CTemperatureZone& zone, RenderForm form);
void RenderCountdownZone(CCountdownZone& zone, RenderForm form, const QDateTime& now);
void PrepareProgramBorder(CProgram& program);

// Layout mode of a text zone for its effect.
int TextLayoutMode(int action, int delay);

// The table drawn whole, and cut into window pages.
QImage DrawTable(const CTableZone& zone);
std::vector<QImage> CutTablePages(const QImage& table, int width, int height);

// The animation pages of the text image and their holds.
std::vector<QImage> AnimatePages(const QImage& text, int type, int steps, int hold1, int hold2,
                                 std::vector<std::uint32_t>& holds);
// The two pictures of a sprite animation (0 eat, 1 butterfly), facing left, for a window
// of the height.
QImage SpritePicture(int kind, int frame, int windowHeight);

// Built-in border pattern (0 to 29), 16 pixels wide, in full colour.
QImage BuiltInBorderPattern(int index);
int BuiltInBorderHeight(int index);
// Border pattern from an image: scaled or centred into 16 pixels' width.
QImage BorderPatternFromImage(const QImage& image);
