#include "render/live_layout.h"

#include <algorithm>
#include <cstdlib>

namespace {

const ControllerFont kControllerFonts[] = {
    {7, 5, 8, 7}, {12, 6, 12, 9}, {16, 8, 16, 12}, {32, 16, 32, 24}, {48, 24, 48, 36}};

const int kSine[16] = {0,   105, 208, 309, 407, 500, 588, 669,
                       743, 809, 866, 914, 951, 978, 995, 1000};

int Sine(int c)
{
    return kSine[c > 15 ? 30 - c : c];
}

QString Two(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

QString ChineseWeekday(const QDate& date)
{
    static const char16_t kDays[] = u"日一二三四五六";
    return QString(QChar(kDays[date.dayOfWeek() % 7]));
}

int Hour12(int hour)
{
    return hour > 12 ? hour - 12 : hour;
}

QString DayPart(int hour)
{
    if (hour < 12)
        return QStringLiteral("上午");
    if (hour < 19)
        return QStringLiteral("下午");
    return QStringLiteral("晚上");
}

} // namespace

ControllerFont ControllerFontFor(int sizeIndex)
{
    if (sizeIndex < 0 || sizeIndex > 4)
        sizeIndex = 2;
    return kControllerFonts[sizeIndex];
}

QString PreviewFontFace()
{
    return QStringLiteral("宋体");
}

DateTimeItemText FormatDateTimeItem(const DateTimeSettings& settings, int item, int format,
                                    const QDateTime& localNow)
{
    const QDateTime moment = localNow.addSecs(static_cast<qint64>(settings.timeDifference) * 60);
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int year = date.year();
    const int month = date.month();
    const int day = date.day();
    const int hour = time.hour();
    const int minute = time.minute();
    const int second = time.second();
    const QString ampm = hour >= 12 ? QStringLiteral("PM") : QStringLiteral("AM");
    const int code = format + 20 * item;
    DateTimeItemText out;
    const auto set = [&out](QString text, int half, int full) {
        out.text = std::move(text);
        out.halfChars = half;
        out.fullChars = full;
    };
    if (code < 20 || item == 0) {
        set(settings.text, 0, 0);
    } else if (code < 40) {
        switch (code) {
        case 20:
            set(QStringLiteral("%1年%2月%3日").arg(year).arg(Two(month), Two(day)), 8, 3);
            break;
        case 22:
            set(QStringLiteral("%1/%2/%3").arg(Two(month), Two(day)).arg(year), 10, 0);
            break;
        case 23:
            set(QStringLiteral("%1/%2/%3").arg(year).arg(Two(month), Two(day)), 10, 0);
            break;
        case 24:
            set(QStringLiteral("%1-%2-%3").arg(Two(year - 2000), Two(month), Two(day)), 8, 0);
            break;
        case 25:
            set(QString::number(year), 4, 0);
            break;
        case 26:
            set(Two(month), 2, 0);
            break;
        case 27:
            set(Two(day), 2, 0);
            break;
        case 28:
            set(QStringLiteral("%1月%2日").arg(Two(month), Two(day)), 4, 2);
            break;
        case 29:
            set(QStringLiteral("%1/%2/%3").arg(Two(day), Two(month)).arg(year), 10, 0);
            break;
        default:
            set(QStringLiteral("%1-%2-%3").arg(year).arg(Two(month), Two(day)), 10, 0);
            break;
        }
    } else if (code < 60) {
        static const char* const kLong[] = {" Sunday  ", " Monday  ", " Tuesday ", "Wednesday",
                                            "Thursday ", " Friday  ", "Saturday "};
        static const char* const kShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        const int weekday = date.dayOfWeek() % 7; // 0 Sunday
        if (code == 40)
            set(QStringLiteral("星期") + ChineseWeekday(date), 0, 3);
        else if (code == 41)
            set(QString::fromLatin1(kLong[weekday]), 9, 0);
        else
            set(QString::fromLatin1(kShort[weekday]), 3, 0);
    } else {
        switch (code) {
        case 61:
            set(QStringLiteral("%1时%2分%3秒").arg(Two(hour), Two(minute), Two(second)), 6, 3);
            break;
        case 62:
            set(QStringLiteral("%1:%2").arg(Two(hour), Two(minute)), 5, 0);
            break;
        case 63:
            set(QStringLiteral("%1时%2分").arg(Two(hour), Two(minute)), 4, 2);
            break;
        case 64:
            set(DayPart(hour), 0, 2);
            break;
        case 65:
            set(ampm, 2, 0);
            break;
        case 66:
            set(DayPart(hour) + QStringLiteral(" %1时%2分").arg(Two(Hour12(hour)), Two(minute)), 5,
                4);
            break;
        case 67:
            set(ampm + QStringLiteral(" %1:%2").arg(Two(Hour12(hour)), Two(minute)), 8, 0);
            break;
        case 68:
            set(QStringLiteral("%1:%2").arg(Two(Hour12(hour)), Two(minute)) + ampm, 8, 0);
            break;
        case 69:
            set(QStringLiteral("%1:%2:%3星期").arg(Two(hour), Two(minute), Two(second)) +
                    ChineseWeekday(date),
                8, 3);
            break;
        default:
            set(QStringLiteral("%1:%2:%3").arg(Two(hour), Two(minute), Two(second)), 8, 0);
            break;
        }
    }
    return out;
}

int DateTimeItemWidth(const DateTimeSettings& settings, int item, const QDateTime& localNow)
{
    const ControllerFont font = ControllerFontFor(settings.size);
    const DateTimeItemText text =
        FormatDateTimeItem(settings, item, settings.format[item], localNow);
    return text.halfChars * font.halfWidth + text.fullChars * font.fullWidth;
}

void LayoutDateTime(DateTimeSettings& settings, int windowWidth, int staticTextWidth,
                    const QDateTime& localNow)
{
    const ControllerFont font = ControllerFontFor(settings.size);
    int order[3] = {DateTimeDate, DateTimeWeekday, DateTimeTime};
    if (settings.order == 1)
        std::swap(order[1], order[2]);
    const bool textOn = settings.enabled[DateTimeText] != 0;
    const int w0 = textOn ? staticTextWidth : 0;
    int x[DateTimeItemCount] = {0, 0, 0, 0};

    if (settings.oneLine) {
        int running = 0;
        if (textOn)
            running = w0;
        for (int item : order) {
            if (!settings.enabled[item])
                continue;
            if (running > 0)
                running += font.halfWidth;
            x[item] = running;
            running += DateTimeItemWidth(settings, item, localNow);
        }
        const int shift = running < windowWidth ? (windowWidth - running) / 2 : 4;
        for (int item = 0; item < DateTimeItemCount; ++item) {
            settings.row[item] = 0;
            // Items that are off stay at 0, so that repeated layouts do not drift.
            settings.x[item] =
                static_cast<std::uint16_t>(settings.enabled[item] ? x[item] + shift : 0);
        }
        return;
    }

    int row = 0;
    const int sequence[4] = {DateTimeText, order[0], order[1], order[2]};
    for (int item : sequence) {
        if (!settings.enabled[item])
            continue;
        settings.row[item] = static_cast<std::uint8_t>(std::min(row++, 3));
        if (item == DateTimeText) {
            settings.x[item] = static_cast<std::uint16_t>(std::max(0, (windowWidth - w0) / 2));
        } else {
            const int width = DateTimeItemWidth(settings, item, localNow);
            settings.x[item] =
                static_cast<std::uint16_t>(width < windowWidth ? (windowWidth - width) / 2 : 0);
        }
    }
}

ClockDial ClockDialFor(const ClockSettings& settings, int width, int height)
{
    ClockDial dial;
    // Sizes beyond the page's 0 to 10 come only from damaged files; keep them drawable.
    const int biggest = std::clamp(
        std::max(settings.size[ClockHourMarks], settings.size[ClockMinuteMarks]), 0, 1000);
    dial.markSpace = 2 * ((biggest + 1) / 2) + (settings.hourMarkStyle == 2 ? 2 : 0);
    dial.radius = std::min(width, height) / 2 - dial.markSpace / 2 - 1;
    dial.margin = dial.markSpace / 2 + 1;
    if (height < width)
        dial.shiftX = (width - height) / 2;
    if (width < height)
        dial.shiftY = (height - width) / 2;
    return dial;
}

QPoint DialPoint(int p, int q)
{
    p = ((p % 60) + 60) % 60;
    int x;
    if (p <= 30)
        x = (q * (1000 + Sine(p)) + 500) / 1000;
    else
        x = (q * (1000 - Sine(p - 30)) + 500) / 1000;
    int y;
    if (p <= 15)
        y = ((1000 - kSine[15 - p]) * q + 400) / 1000;
    else if (p <= 30)
        y = ((1000 + kSine[p - 15]) * q + 400) / 1000;
    else if (p <= 45)
        y = ((1000 + kSine[45 - p]) * q + 400) / 1000;
    else
        y = ((1000 - kSine[p - 45]) * q + 400) / 1000;
    return QPoint(x, y);
}

std::vector<QPoint> HandDotPattern(int width)
{
    std::vector<QPoint> dots;
    if (width <= 0)
        return dots;
    if (width == 1) {
        dots.emplace_back(0, 0);
        return dots;
    }
    if (width == 2) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x)
                dots.emplace_back(x, y);
        return dots;
    }
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            dots.emplace_back(x, y);
    if (width >= 4) {
        dots.insert(dots.end(), {QPoint(2, 0), QPoint(-2, 0), QPoint(0, 2), QPoint(0, -2)});
    }
    if (width >= 5) {
        for (int a : {-2, 2})
            for (int b : {-1, 1}) {
                dots.emplace_back(a, b);
                dots.emplace_back(b, a);
            }
    }
    return dots;
}

bool TemperatureShown(const TemperatureSettings& settings)
{
    return settings.showTemperature != 0;
}

bool HumidityShown(const TemperatureSettings& settings)
{
    return settings.showHumidity != 0 && settings.sensor == 1;
}

void LayoutTemperature(TemperatureSettings& s, int width, int height, const TemperatureMeasures& m)
{
    const ControllerFont font = ControllerFontFor(s.digitSize);
    const int h = font.halfWidth;
    const int k = font.lineHeight;
    const int c = m.labelHeight;
    const int lineHeight = std::max(c, k);
    const bool temperature = TemperatureShown(s);
    const bool humidity = HumidityShown(s);
    const int temperatureTotal = m.temperatureLabel + 3 * h + m.temperatureUnit;
    const int humidityTotal = m.humidityLabel + 2 * h + m.humidityUnit;
    const auto centred = [width](int total) { return total >= width ? 0 : (width - total) / 2; };

    int temperatureLabelTop = 0;
    int temperatureValueTop = 0;
    int humidityLabelTop = 0;
    int humidityValueTop = 0;
    if (s.oneLine) {
        const int total = (temperature ? temperatureTotal : 0) + (humidity ? humidityTotal : 0);
        s.temperatureLabelLeft = centred(total);
        s.temperatureUnitLeft = s.temperatureLabelLeft + m.temperatureLabel + 3 * h;
        if (height >= lineHeight) {
            temperatureLabelTop = humidityLabelTop = (height - c) / 2;
            temperatureValueTop = humidityValueTop = (height - k) / 2;
        }
        s.humidityLabelLeft =
            temperature ? s.temperatureUnitLeft + m.temperatureUnit : centred(total);
    } else {
        const int block = temperature && humidity ? 2 * lineHeight : lineHeight;
        s.temperatureLabelLeft = centred(temperatureTotal);
        s.temperatureUnitLeft = s.temperatureLabelLeft + m.temperatureLabel + 3 * h;
        if (height >= block) {
            temperatureLabelTop = (height - block) / 2 + (lineHeight - c) / 2;
            temperatureValueTop = (height - block) / 2 + (lineHeight - k) / 2;
        }
        s.humidityLabelLeft = centred(humidityTotal);
        if (k < c) {
            if (temperature)
                humidityLabelTop = temperatureLabelTop + lineHeight;
            else
                humidityLabelTop = c >= height ? 0 : (height - c) / 2;
            humidityValueTop = humidityLabelTop + (c - k) / 2;
        } else {
            if (temperature)
                humidityValueTop = temperatureValueTop + lineHeight;
            else
                humidityValueTop = k >= height ? 0 : (height - k) / 2;
            humidityLabelTop = humidityValueTop + (k - c) / 2;
        }
    }
    s.humidityNumberLeft = static_cast<std::int16_t>(s.humidityLabelLeft + m.humidityLabel);
    s.humidityUnitLeft = s.humidityNumberLeft + 2 * h;
    s.temperatureTop = temperatureLabelTop;
    s.temperatureNumberTop = static_cast<std::uint8_t>(std::clamp(temperatureValueTop, 0, 255));
    s.humidityTop = humidityLabelTop;
    s.humidityNumberTop = static_cast<std::uint8_t>(std::clamp(humidityValueTop, 0, 255));
}

int TemperatureValueLeft(const TemperatureSettings& settings)
{
    return settings.temperatureUnitLeft - 3 * ControllerFontFor(settings.digitSize).halfWidth;
}

std::int64_t LocalSeconds(const QDateTime& moment)
{
    return moment.toSecsSinceEpoch() + moment.offsetFromUtc();
}

CountdownLine BuildCountdownLine(const CountdownSettings& settings, std::int64_t now)
{
    CountdownLine line;
    std::int64_t value;
    if (settings.type == 1) {
        value = now - settings.target;
        line.over = now < settings.target;
    } else {
        value = settings.target - now;
        line.over = now > settings.target;
    }
    if (value < 0)
        value = 0;
    static const char16_t* const kLabels[3][4] = {{u"天", u"时", u"分", u"秒"},
                                                  {u"天", u"時", u"分", u"秒"},
                                                  {u" D ", u" H ", u" M ", u" S "}};
    static const std::int64_t kDivisors[4] = {86400, 3600, 60, 1};
    const int style = settings.format >= 0 && settings.format <= 2 ? settings.format : 0;
    const ControllerFont font = ControllerFontFor(settings.digitSize);
    int x = 0;
    for (int unit = 0; unit < 4; ++unit) {
        if (!settings.show[unit])
            continue;
        CountdownPart part;
        part.unit = unit;
        part.digits = QString::number(value / kDivisors[unit]);
        value %= kDivisors[unit];
        part.label = QString::fromUtf16(kLabels[style][unit]);
        part.fullWidthLabel = style != 2;
        part.x = x;
        x += static_cast<int>(part.digits.size()) * font.halfWidth;
        part.labelX = x;
        x += part.fullWidthLabel ? font.fullWidth
                                 : static_cast<int>(part.label.size()) * font.halfWidth;
        line.parts.push_back(part);
    }
    line.width = x;
    return line;
}

void LayoutCountdown(CountdownSettings& settings, int width, int height, int titleWidth,
                     int titleHeight, const CountdownLine& line)
{
    const int k = ControllerFontFor(settings.digitSize).lineHeight;
    if (!settings.title.isEmpty()) {
        const int titleTop = k + titleHeight < height ? (height - k - titleHeight) / 2 : 0;
        settings.titleLeft = titleWidth < width ? (width - titleWidth) / 2 : 0;
        settings.numberTop = titleTop + titleHeight;
    } else {
        settings.numberTop = k < height ? (height - k) / 2 : 0;
    }
    settings.numberLeft = line.width < width ? (width - line.width) / 2 : 0;
}
