// A tileset image that was missing when the map was opened, loaded again: it takes the place of the missing
// one, so the cells of its tiles show again, instead of coming in as new tiles beside empty placeholders.
#include "document/DocumentSteps.h"
#include "document/MapDocument.h"

#include <QFileInfo>

// The step: the pictures of the load's tiles and its record, exchanged with the document's.
class MissingImageStep : public HistoryStep {
public:
    MissingImageStep(MapDocument& document, int load, std::vector<PicturePtr> pictures,
                     TilesetLoadRecord record)
        : m_document(document), m_load(load), m_pictures(std::move(pictures)), m_record(std::move(record)) {
        setText(QStringLiteral("Load Tiles"));
    }
    void undo() override { m_document.ExchangeLoadImage(m_load, m_pictures, m_record); }
    void redo() override { m_document.ExchangeLoadImage(m_load, m_pictures, m_record); }
    std::size_t Bytes() const override {
        std::size_t bytes = sizeof(*this);
        for (const PicturePtr& picture : m_pictures)
            bytes += picture ? std::size_t(picture->Image().sizeInBytes()) : 0;
        return bytes;
    }

private:
    MapDocument& m_document;
    int m_load;
    std::vector<PicturePtr> m_pictures;
    TilesetLoadRecord m_record;
};

namespace {

// How many tiles an image of width x height cuts into at a tile size.
qint64 TilesOf(int width, int height, int tileWidth, int tileHeight) {
    if (tileWidth < 1 || tileHeight < 1)
        return 0;
    return qint64(width / tileWidth) * (height / tileHeight);
}

} // namespace

int MapDocument::MissingLoadFor(const TilesetLoadResult& result) const {
    const int count = int(m_loads.size());
    for (int i = 0; i < count; ++i) {
        const TilesetLoadRecord& load = m_loads[std::size_t(i)];
        if (load.imageMissing && !result.ContentHash.isEmpty() && load.contentHash == result.ContentHash)
            return i;
    }
    for (int i = 0; i < count; ++i) {
        const TilesetLoadRecord& load = m_loads[std::size_t(i)];
        if (load.imageMissing && load.tileCount > 0 &&
            TilesOf(result.ImageWidth, result.ImageHeight, load.tileWidth, load.tileHeight) == load.tileCount)
            return i;
    }
    return -1;
}

TilesetLoadResult MapDocument::TakeMissingPlace(int load, const FolderItem& file, TilesetLoadResult result,
                                                const std::vector<TileRef>& cut, MemoryReserve* reserve) {
    const TilesetLoadRecord& old = m_loads[std::size_t(load)];
    std::vector<PicturePtr> pictures;
    if (old.tileWidth == TileWidth() && old.tileHeight == TileHeight()) {
        for (int i = 0; i < old.tileCount && i < int(cut.size()); ++i)
            pictures.push_back(cut[std::size_t(i)]->Image());
    } else {
        // Cut at the tile size the missing image was cut at, whatever the size is now.
        clsVOTileset cutter;
        cutter.SetTileWidth(old.tileWidth);
        cutter.SetTileHeight(old.tileHeight);
        const TilesetLoadResult again = cutter.LoadTileset(file, reserve);
        if (again.OutOfMemory)
            throw std::bad_alloc();
        for (const TileRef& tile : cutter.TakeFrom(0))
            pictures.push_back(tile->Image());
    }
    if (int(pictures.size()) < old.tileCount) {
        result.Text = QStringLiteral("%1 could not be loaded").arg(file.Name());
        result.Complete = false;
        result.TileCount = 0;
        return result;
    }
    pictures.resize(std::size_t(old.tileCount));
    TilesetLoadRecord record = old;
    record.absolutePath = QFileInfo(file.Path()).absoluteFilePath();
    record.imageWidth = result.ImageWidth;
    record.imageHeight = result.ImageHeight;
    record.contentHash = result.ContentHash;
    record.imageMissing = false;
    auto step = std::make_unique<MissingImageStep>(*this, load, std::move(pictures), std::move(record));
    m_history.Reserve();
    step->redo();
    m_history.Push(std::move(step));
    const TilesetLoadRecord& now = m_loads[std::size_t(load)];
    qint64 shown = 0;
    for (int k = 0; k < Layers(); ++k)
        for (std::uint32_t i = 0; i < Layer(k).Count(); ++i)
            if (const CellRef& cell = Layer(k).AtIndex(i); cell && cell->ImageIndex() >= now.firstTile &&
                                                           cell->ImageIndex() < now.firstTile + now.tileCount)
                ++shown;
    result.Text = QStringLiteral("%1 takes the place of the missing tileset image: %2 cells show again")
                      .arg(file.Name())
                      .arg(shown);
    result.FirstTile = now.firstTile;
    result.TileCount = now.tileCount;
    return result;
}

void MapDocument::ExchangeLoadImage(int load, std::vector<PicturePtr>& pictures, TilesetLoadRecord& record) {
    TilesetLoadRecord& mine = m_loads[std::size_t(load)];
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TileRef tile = m_tileset->GetTile(mine.firstTile + int(i));
        PicturePtr picture = tile->Image();
        tile->SetImage(std::move(pictures[i]));
        pictures[i] = std::move(picture);
    }
    std::swap(mine, record);
    emit tilesetChanged();
}
