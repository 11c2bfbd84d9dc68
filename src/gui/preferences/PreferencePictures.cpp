#include "gui/preferences/PreferencePictures.h"

#include "keyboard/PhysicalKey.h"

#include <QLineF>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>

namespace veltrane::gui {

namespace {

struct KeyCap {
    const char* name;
    const char* symbol;
    const char* caption;
};

// In the order of the engine's kinds of physical key; the function keys share the last one.
constexpr std::array<KeyCap, 11> kKeyCaps = {{
    {"capslockTemplate", "⇪", "caps lock"},
    {"rightOptionTemplate", "Alt", "right"},
    {"rightCommandTemplate", "Super", "right"},
    {"rightShiftTemplate", "⇧", "right"},
    {"rightControlTemplate", "Ctrl", "right"},
    {"leftOptionTemplate", "Alt", "left"},
    {"leftCommandTemplate", "Super", "left"},
    {"leftShiftTemplate", "⇧", "left"},
    {"leftControlTemplate", "Ctrl", "left"},
    {"menuTemplate", "☰", "menu"},
    {"functionKeyTemplate", "F", "1 – 24"},
}};

struct Slide {
    std::int64_t gesture;
    const char* name;
    QPointF from;
    QPointF to;
};

// The trackpad's outline; each slide enters it from a corner or from the middle of the top edge.
const QRectF kTrackpad(4, 10, 56, 44);

const std::array<Slide, 5> kSlides = {{
    {1, "hyperSlideTopLeftTemplate", kTrackpad.topLeft(), {24, 28}},
    {2, "hyperSlideTopRightTemplate", kTrackpad.topRight(), {40, 28}},
    {4, "hyperSlideBottomLeftTemplate", kTrackpad.bottomLeft(), {24, 36}},
    {8, "hyperSlideBottomRightTemplate", kTrackpad.bottomRight(), {40, 36}},
    {16, "hyperSlideDownTemplate", {32, 10}, {32, 38}},
}};

QPixmap canvas(qreal devicePixelRatio)
{
    const auto side = static_cast<int>(PreferencePictures::kSize * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawKeyCap(QPainter& painter, const KeyCap& cap, const QColor& ink)
{
    painter.setPen(QPen(ink, 3));
    painter.drawRoundedRect(QRectF(5, 5, 54, 54), 9, 9);
    QFont font = painter.font();
    const auto symbol = QString::fromUtf8(cap.symbol);
    // A word, as PC keyboards print Alt and Ctrl, is smaller than a sign, to fit the key.
    font.setPixelSize(symbol.size() > 1 ? 15 : 26);
    painter.setFont(font);
    painter.drawText(QRectF(5, 8, 54, 32), Qt::AlignCenter, symbol);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.drawText(QRectF(5, 38, 54, 16), Qt::AlignCenter, QString::fromUtf8(cap.caption));
}

void drawSlide(QPainter& painter, const Slide& slide, const QColor& ink)
{
    painter.setPen(QPen(ink, 3));
    painter.drawRoundedRect(kTrackpad, 6, 6);
    painter.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QLineF shaft(slide.from, slide.to);
    painter.drawLine(shaft);
    // The head: two strokes back from the tip, 40 degrees either side of the shaft.
    for (const qreal turn : {140.0, -140.0}) {
        QLineF barb = QLineF::fromPolar(10, shaft.angle() + turn);
        barb.translate(slide.to);
        painter.drawLine(barb);
    }
}

template <class Table> auto find(const Table& table, const std::string& name)
{
    return std::find_if(table.begin(), table.end(), [&](const auto& row) { return name == row.name; });
}

}  // namespace

QPixmap PreferencePictures::picture(const std::string& name, const QColor& ink, qreal devicePixelRatio)
{
    const auto cap = find(kKeyCaps, name);
    const auto slide = find(kSlides, name);
    if (cap == kKeyCaps.end() && slide == kSlides.end()) {
        return {};
    }
    auto pixmap = canvas(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (cap != kKeyCaps.end()) {
        drawKeyCap(painter, *cap, ink);
    } else {
        drawSlide(painter, *slide, ink);
    }
    return pixmap;
}

std::string PreferencePictures::physicalKeyPicture(std::int64_t usage)
{
    const auto kind = PhysicalKey::kind(usage).value_or(0);
    return kKeyCaps[std::min(kind, kKeyCaps.size() - 1)].name;
}

std::string PreferencePictures::gesturePicture(std::int64_t gestures)
{
    const auto slide = std::find_if(kSlides.begin(), kSlides.end(),
                                    [&](const Slide& known) { return known.gesture == gestures; });
    return slide == kSlides.end() ? kSlides.back().name : slide->name;
}

}  // namespace veltrane::gui
