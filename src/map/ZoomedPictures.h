#pragma once

#include "platform/Picture.h"

#include <QImage>
#include <QSize>
#include <vector>

// The size on the canvas of a picture of `picture` map pixels, when cells of tileWidth x tileHeight map
// pixels show as viewWidth x viewHeight canvas pixels; at least 1 x 1.
QSize ZoomedPictureSize(QSize picture, int tileWidth, int tileHeight, int viewWidth, int viewHeight);

// Tile pictures shrunk for a zoomed-out map view. Shrinking is smooth (each view pixel the average of the
// tile pixels it covers), which is too slow to do at every draw, so each picture is shrunk once per scale and
// kept under a slot number (its picture number in the tileset) until the scale changes. A slot whose picture
// changed is shrunk again, so a kept picture is never shown for another.
class ZoomedPictures {
public:
    // Cells of tileWidth x tileHeight map pixels shown as viewWidth x viewHeight canvas pixels. A change
    // forgets every kept picture.
    void SetScale(int tileWidth, int tileHeight, int viewWidth, int viewHeight);
    // The picture at this scale (null when memory for it could not be had). The reference lasts until the
    // next call.
    const QImage& Reduced(int slot, const Picture& picture);
    void Clear();

private:
    struct Kept {
        qint64 source = 0;
        QImage image;
    };
    int m_tileWidth = 1;
    int m_tileHeight = 1;
    int m_viewWidth = 1;
    int m_viewHeight = 1;
    std::vector<Kept> m_kept;
    Kept m_loose;
};
