#include "MapCorpus.h"

#include "document/MapFileWriter.h"

#include <QBuffer>
#include <QCborArray>
#include <QCborMap>
#include <QCborStreamReader>
#include <QCborValue>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <bit>
#include <optional>
#include <random>
#include <span>
#include <zstd.h>

namespace MapCorpus {

QByteArray Written(const MapSnapshot& map) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return MapFile::Write(map, buffer).ok() ? buffer.data() : QByteArray();
}

namespace {

const QString kOddTexts[] = {QString(),
                             QStringLiteral("a"),
                             QString::fromUtf16(u"ä€\U0001D11E 👍🏽 e\u0301"),
                             QString::fromUtf16(u"nul\0inside", 10),
                             QStringLiteral("tab\tnew\nline\r\"quote\"\\"),
                             QString::fromUtf16(u"\uFEFFbom first, \u202Eright to left, \uFFFF\uFFFE"),
                             QString(40000, QChar(u'字'))};

// One layer chunk as the file format describes it, made without the program's writer: byte planes, zstd.
QByteArray ChunkFrame(std::span<const std::uint16_t> values) {
    QByteArray planes(qsizetype(2 * values.size()), Qt::Uninitialized);
    for (std::size_t i = 0; i < values.size(); ++i) {
        planes[qsizetype(i)] = char(values[i] & 0xFF);
        planes[qsizetype(values.size() + i)] = char(values[i] >> 8);
    }
    QByteArray frame(qsizetype(ZSTD_compressBound(std::size_t(planes.size()))), Qt::Uninitialized);
    frame.resize(qsizetype(ZSTD_compress(frame.data(), std::size_t(frame.size()), planes.constData(),
                                         std::size_t(planes.size()), 3)));
    return frame;
}

// A zstd frame that inflates to that many zero bytes and does not say so in its header.
QByteArray Bomb(qint64 bytes) {
    const std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> context(ZSTD_createCCtx(), ZSTD_freeCCtx);
    ZSTD_CCtx_setParameter(context.get(), ZSTD_c_contentSizeFlag, 0);
    const std::vector<char> zeros(std::size_t(bytes), 0);
    QByteArray frame(qsizetype(ZSTD_compressBound(zeros.size())), Qt::Uninitialized);
    frame.resize(qsizetype(
        ZSTD_compress2(context.get(), frame.data(), std::size_t(frame.size()), zeros.data(), zeros.size())));
    return frame;
}

// A CBOR head: major type and argument, in the shortest form.
QByteArray Head(int major, quint64 argument) {
    int width = argument < 24 ? 0 : 1; // the bytes after the first: none, 1, 2, 4 or 8
    while (width > 0 && width < 8 && argument >> (8 * width) != 0)
        width *= 2;
    QByteArray head(1,
                    char(major << 5 | (width == 0 ? int(argument) : 24 + std::countr_zero(unsigned(width)))));
    for (int i = width - 1; i >= 0; --i)
        head.append(char(argument >> (8 * i)));
    return head;
}

// Where one item of a file lies: its head from start to headEnd, all of it from start to end; for a map, the
// offsets of its entries' keys.
struct Item {
    qint64 start = 0, headEnd = 0, end = 0;
    int major = 0;
    quint64 argument = 0;
    std::vector<qint64> keys;
};

// Adds the item at start and every item within it, in the order they come, and returns where it ends. The
// writer gives every string and container its length.
qint64 Walk(const QByteArray& bytes, qint64 start, std::vector<Item>* items) {
    Item item{start, start + 1, 0, quint8(bytes[start]) >> 5, quint64(bytes[start] & 31), {}};
    if (item.argument >= 24) { // the argument follows in 1, 2, 4 or 8 bytes
        const qint64 width = qint64(1) << (item.argument - 24);
        for (item.argument = 0; item.headEnd < start + 1 + width; ++item.headEnd)
            item.argument = item.argument << 8 | quint8(bytes[item.headEnd]);
    }
    const std::size_t at = items->size();
    items->push_back(item);
    item.end = item.headEnd + (item.major == 2 || item.major == 3 ? qint64(item.argument) : 0);
    const quint64 within = item.major == 4   ? item.argument
                           : item.major == 5 ? 2 * item.argument
                                             : item.major == 6;
    for (quint64 i = 0; i < within; ++i) {
        if (item.major == 5 && i % 2 == 0)
            item.keys.push_back(item.end);
        item.end = Walk(bytes, item.end, items);
    }
    (*items)[at] = item;
    return item.end;
}

std::vector<Item> Items(const QByteArray& bytes) {
    std::vector<Item> items;
    return Walk(bytes, 0, &items), items;
}

bool WellFormed(const QByteArray& bytes) {
    QCborStreamReader reader(bytes);
    while (reader.isTag())
        reader.next();
    return reader.next() && reader.lastError() == QCborError::NoError &&
           reader.currentOffset() == bytes.size();
}

QByteArray Spliced(const QByteArray& bytes, qint64 from, qint64 to, const QByteArray& insert) {
    return bytes.left(from) + insert + bytes.mid(to);
}

using Path = std::vector<QCborValue>;

// The tree with the value at path replaced, or removed from its map when there is none.
QCborValue Set(const QCborValue& node, const Path& path, const std::optional<QCborValue>& value,
               std::size_t depth = 0) {
    const QCborValue& step = path[depth];
    const bool last = depth + 1 == path.size();
    if (node.isMap()) {
        QCborMap map = node.toMap();
        if (last && !value)
            map.remove(step);
        else
            map[step] = last ? *value : Set(map.value(step), path, value, depth + 1);
        return map;
    }
    QCborArray array = node.toArray();
    array[step.toInteger()] = last ? *value : Set(array.at(step.toInteger()), path, value, depth + 1);
    return array;
}

// Every value in the tree under node, with the path to it: node's own, at path, first.
void Paths(const QCborValue& node, const Path& path, std::vector<std::pair<Path, QCborValue>>* all) {
    all->push_back({path, node});
    QList<QCborValue> steps = node.toMap().keys();
    for (qsizetype i = 0; i < node.toArray().size(); ++i)
        steps.append(i);
    for (const QCborValue& step : steps) {
        Path deeper = path;
        deeper.push_back(step);
        Paths(node.isMap() ? node.toMap().value(step) : node.toArray().at(step.toInteger()), deeper, all);
    }
}

// A cell record's fields are optional, every other map's are required.
bool InRecord(const Path& path) {
    return (path.size() == 3 && path[0] == "templates") || (path.size() == 6 && path[4] == "cell");
}

QString Where(const Path& path) {
    QStringList steps;
    for (const QCborValue& step : path)
        steps.append(step.isString() ? step.toString() : QString::number(step.toInteger()));
    return steps.join(u'/');
}

int TypeClass(const QCborValue& value) {
    return value.isBool() ? int(QCborValue::True) : int(value.type());
}

QCborValue Tree(const QByteArray& bytes) {
    return QCborValue::fromCbor(bytes).taggedValue();
}

QByteArray Bytes(const QCborValue& tree) {
    return QCborValue(QCborKnownTags::Signature, tree).toCbor();
}

MapSnapshot MakeBase() {
    MapSnapshot map;
    map.mapWidth = 300, map.mapHeight = 220; // two chunks a layer
    map.name = QStringLiteral("base");
    for (int k = 0; k < map.layers; ++k) {
        map.layer[k].tiles.assign(300 * 220, 0);
        for (int i = 1000 * k; i < 1000 * k + 3000; ++i)
            map.layer[k].tiles[i] = std::uint16_t(1 + i / 700);
        map.layer[k].tiles[65535] = kOddTile;
        const CellRecord odd{1, -2, 3, 4, 5, 6, 7, QStringLiteral("ü"), {}, 8, true, false};
        map.layer[k].exceptions = {{std::uint32_t(1000 * k + 5), odd}, {65535, {}}};
    }
    map.templates = {{0, 0, 1, 2, 3, 0, 4, QStringLiteral("t"), QStringLiteral("u"), 0, false, true}, {}, {}};
    map.loads = {
        {QStringLiteral("a.png"), QStringLiteral("/maps/a.png"), 16, 16, 32, 16, QByteArray(32, 'h'), 0, 2},
        {QString(), QStringLiteral("/b.png"), 8, 8, 8, 8, QByteArray(32, 'i'), 2, 1}};
    return map;
}

// The file with its entries in the order given, the rest after them, and extraTemplates tiles more.
QByteArray Reordered(const QCborValue& tree, std::initializer_list<const char*> first,
                     int extraTemplates = 0) {
    QCborMap reordered;
    for (const char* key : first)
        reordered[QLatin1StringView(key)] = tree[QLatin1StringView(key)];
    QCborArray templates = tree["templates"].toArray();
    for (int i = 0; i < extraTemplates; ++i)
        templates.append(QCborMap());
    reordered[QLatin1StringView("templates")] = templates;
    reordered[QLatin1StringView("loads")] = tree["loads"];
    return Bytes(reordered);
}

std::vector<Entry> MakeDamaged() {
    std::vector<Entry> out;
    const QByteArray base = Written(BaseMap());
    const QCborValue tree = Tree(base);
    auto add = [&](const QString& name, const QByteArray& bytes) { out.push_back({name, bytes}); };
    auto set = [&](const QString& name, const Path& path, const std::optional<QCborValue>& value) {
        add(name, Bytes(Set(tree, path, value)));
    };

    for (qsizetype n = 0; n < base.size(); ++n)
        add(QStringLiteral("cut after %1 bytes").arg(n), base.left(n));
    add(QStringLiteral("a byte after its end"), base + '\0');
    for (const Item& item : Items(base)) {
        if (item.major < 2 || item.major > 5)
            continue;
        // A lie that happens to leave a well-formed file, such as a key cut short whose last letter reads as
        // the head of a value, makes another map: only the others must be refused.
        for (const quint64 lie :
             {item.argument + 1, item.argument - 1, quint64(0xFFFFFFFF), quint64(1) << 62})
            if (const QByteArray lying = Spliced(base, item.start, item.headEnd, Head(item.major, lie));
                lie != item.argument && !WellFormed(lying))
                add(QString::asprintf("length at %lld says %llu, not %llu", item.start, lie, item.argument),
                    lying);
        for (std::size_t e = 0; e < item.keys.size(); ++e) {
            const qint64 next = e + 1 < item.keys.size() ? item.keys[e + 1] : item.end;
            add(QStringLiteral("entry at %1 given twice").arg(item.keys[e]),
                base.left(item.start) + Head(5, item.argument + 1) +
                    base.mid(item.headEnd, next - item.headEnd) +
                    base.mid(item.keys[e], next - item.keys[e]) + base.mid(next));
        }
    }

    std::vector<std::pair<Path, QCborValue>> paths;
    Paths(tree, {}, &paths);
    const QCborValue wrongTypes[] = {
        1,          -5,  QStringLiteral("x"),        QByteArray("b"), true, nullptr, QCborArray(),
        QCborMap(), 1.5, QCborValue(QCborTag(99), 1)};
    for (const auto& [path, old] : std::span(paths).subspan(1)) {
        const QString where = Where(path);
        for (const QCborValue& wrong : wrongTypes)
            if (TypeClass(wrong) != TypeClass(old))
                set(where + QStringLiteral(" is ") + wrong.toDiagnosticNotation(), path, wrong);
        if (path.back().isString() && !InRecord(path))
            set(where + QStringLiteral(" missing"), path, std::nullopt);
    }

    const std::pair<Path, std::vector<QCborValue>> lies[] = {
        {{"version"}, {0, 2, -1, qint64(1) << 40}},
        {{"format"}, {QStringLiteral("mosaicor-mapx"), QString()}},
        {{"map", "width"}, {299, 301, 0, -1, 8193}},
        {{"map", "height"}, {219, 0}},
        {{"map", "layers"}, {2, 4, 0, 9}},
        {{"map", "tileWidth"}, {0, 1025}},
        {{"map", "tileHeight"}, {0, 1025}},
        {{"map", "visibleLayers"}, {256, -1}},
        {{"loads", 1, "firstTile"}, {1, 3}},
        {{"loads", 1, "tileCount"}, {0, 2}},
        {{"loads", 0, "tileWidth"}, {0, 1025}},
        {{"loads", 0, "imageWidth"}, {-1}},
        {{"loads", 0, "sha256"}, {QByteArray(31, 'h'), QByteArray(33, 'h')}},
        // An index equal to the next one's is the same check as an exception given twice.
        {{"layers", 0, "exceptions", 0, "index"}, {65535, 66000, -1, 5000}},
        {{"layers", 0, "exceptions", 0, "cell", "width"}, {32768, -32769}},
        {{"layers", 0, "exceptions", 0, "cell", "x"}, {qint64(1) << 31, -(qint64(1) << 31) - 1}},
        {{"layers", 0, "exceptions", 0, "cell", "zOrder"}, {256, -1}},
    };
    for (const auto& [path, values] : lies)
        for (const QCborValue& value : values)
            set(Where(path) + QStringLiteral(" = ") + value.toDiagnosticNotation(), path, value);
    const QCborValue largest =
        Set(Set(Set(tree, {"map", "width"}, 4096), {"map", "height"}, 4096), {"map", "layers"}, 8);
    add(QStringLiteral("claims the largest map"), Bytes(largest));
    add(QStringLiteral("8192 x 2049 cells"),
        Bytes(Set(Set(tree, {"map", "width"}, 8192), {"map", "height"}, 2049)));

    std::vector<std::uint16_t> first(BaseMap().layer[1].tiles.begin(),
                                     BaseMap().layer[1].tiles.begin() + 65536);
    std::vector<std::uint16_t> plusOne(first), badValue(first), oddAlone(first);
    plusOne.push_back(1);
    badValue[9] = 40000;
    oddAlone[7] = kOddTile;
    const std::pair<const char*, QByteArray> chunks[] = {
        {"not zstd", QByteArray("not zstd at all")},
        {"one value more", ChunkFrame(plusOne)},
        {"one value less", ChunkFrame(std::span(first).first(65535))},
        {"a bomb", Bomb(64 << 20)},
        {"a tile value of 40000", ChunkFrame(badValue)},
        {"an odd tile with no properties", ChunkFrame(oddAlone)},
        {"longer than any frame", QByteArray(200000, 'z')}};
    for (const auto& [what, frame] : chunks)
        set(QStringLiteral("a chunk is ") + QLatin1StringView(what), {"layers", 1, "tiles", 0}, frame);
    const QCborArray tiles = tree["layers"][1]["tiles"].toArray();
    set(QStringLiteral("a chunk missing"), {"layers", 1, "tiles"}, QCborArray{tiles.at(0)});
    set(QStringLiteral("a chunk too many"), {"layers", 1, "tiles"},
        QCborArray{tiles.at(0), tiles.at(1), tiles.at(1)});
    const QCborArray exceptions = tree["layers"][0]["exceptions"].toArray();
    set(QStringLiteral("exceptions out of order"), {"layers", 0, "exceptions"},
        QCborArray{exceptions.at(1), exceptions.at(0)});
    set(QStringLiteral("32769 tiles"), {"templates"},
        QCborArray::fromVariantList(QVariantList(32769, QVariantMap())));
    add(QStringLiteral("a name not UTF-8"), Bytes(Set(tree, {"map", "name"}, QStringLiteral("\u00e9\u00e9")))
                                                .replace("\xC3\xA9\xC3\xA9", "\xC3\xC3\xA9\xA9"));
    add(QStringLiteral("layers before the map's size"),
        Reordered(tree, {"format", "version", "layers", "map"}));
    // Other files (the empty file and the signature alone are cut short above).
    add(QStringLiteral("png"), QByteArray("\x89PNG\r\n\x1a\n"));
    add(QStringLiteral("a list"),
        QCborArray{QStringLiteral("format"), QStringLiteral("mosaicor-map")}.toCborValue().toCbor());
    return out;
}

std::vector<Entry> MakeVariants() {
    std::vector<Entry> out;
    const QByteArray base = Written(BaseMap());
    const QCborValue tree = Tree(base);
    out.push_back({QStringLiteral("no signature"), tree.toCbor()});
    std::vector<std::pair<Path, QCborValue>> paths;
    Paths(tree, {}, &paths);
    const QCborMap unknown{
        {"unknownField", QCborArray{1, QStringLiteral("two"), QByteArray(300, 'x'), QCborMap{{7, 8}}}},
        {-7, QCborValue(QCborTag(1234), QCborArray{})}};
    for (const auto& [path, node] : paths) {
        if (!node.isMap())
            continue;
        QCborMap extended = node.toMap();
        for (auto entry = unknown.begin(); entry != unknown.end(); ++entry)
            extended[entry.key()] = entry.value();
        out.push_back({QStringLiteral("unknown fields in /") + Where(path),
                       Bytes(path.empty() ? QCborValue(extended) : Set(tree, path, extended))});
    }
    out.push_back({QStringLiteral("initial values spelled out"),
                   Bytes(Set(tree, {"templates", 1},
                             QCborMap{{"x", 0}, {"custom1", QString()}, {"passable", false}}))});
    for (const Item& item : Items(base)) {
        if (item.major < 2 || item.major > 5)
            continue;
        const QByteArray opened(1, char(item.major << 5 | 31));
        if (item.major >= 4)
            out.push_back({QStringLiteral("container at %1 of unstated length").arg(item.start),
                           Spliced(base, item.start, item.headEnd, opened)
                               .insert(item.end - (item.headEnd - item.start) + 1, '\xff')});
        else
            out.push_back({QStringLiteral("string at %1 in chunks").arg(item.start),
                           Spliced(base, item.start, item.end,
                                   opened + base.mid(item.start, item.end - item.start) +
                                       Head(item.major, 0) + '\xff')});
    }
    return out;
}

} // namespace

MapSnapshot RandomMap(quint32 seed, int width, int height) {
    std::mt19937 rng(seed);
    auto pick = [&](qint64 lo, qint64 hi) { return std::uniform_int_distribution<qint64>(lo, hi)(rng); };
    auto extreme = [&](qint64 lo, qint64 hi) {
        return pick(0, 3) == 0 ? (pick(0, 1) ? lo : hi) : pick(lo, hi);
    };
    // The long text (kept last) only now and then: a file holds it once for every cell that has it.
    auto text = [&] {
        return pick(0, 2) ? QString() : kOddTexts[pick(1, std::size(kOddTexts) - (pick(0, 50) ? 2 : 1))];
    };
    auto record = [&] {
        const auto i32 = [&] { return int(extreme(INT32_MIN, INT32_MAX)); };
        const auto i16 = [&] { return std::int16_t(extreme(-32768, 32767)); };
        return CellRecord{i32(),           i32(),          i16(),  i16(),  i16(),
                          i16(),           i16(),          text(), text(), std::uint8_t(extreme(0, 255)),
                          pick(0, 1) == 1, pick(0, 1) == 1};
    };
    MapSnapshot map;
    map.mapWidth = width, map.mapHeight = height, map.layers = int(pick(1, 8));
    map.tileWidth = int(extreme(1, 1024)), map.tileHeight = int(extreme(1, 1024));
    map.name = kOddTexts[pick(0, std::size(kOddTexts) - 1)];
    map.visibleLayers = std::uint8_t(pick(0, 255));
    const std::size_t cells = std::size_t(map.mapWidth) * std::size_t(map.mapHeight);
    for (int k = 0; k < map.layers; ++k) {
        LayerSnapshot& layer = map.layer[k];
        layer.tiles.assign(cells, 0);
        const qint64 top = extreme(1, 32768);
        for (std::size_t i = 0; i < cells;) {
            const std::size_t run = std::size_t(pick(1, pick(0, 1) ? 1 : 300));
            const std::uint16_t value = pick(0, 3) == 0    ? 0
                                        : pick(0, 50) == 0 ? kOddTile
                                                           : std::uint16_t(pick(1, top));
            for (std::size_t end = std::min(cells, i + run); i < end; ++i)
                layer.tiles[i] = value;
        }
        for (std::size_t i = 0; i < cells; ++i)
            if (layer.tiles[i] == kOddTile || (layer.tiles[i] != 0 && pick(0, 200) == 0))
                layer.exceptions.push_back({std::uint32_t(i), record()});
    }
    map.templates.resize(std::size_t(pick(0, 40)));
    for (CellRecord& t : map.templates)
        t = pick(0, 1) ? record() : CellRecord{};
    const int total = int(map.templates.size());
    if (total > 0 || pick(0, 1))
        for (int first = 0;;) {
            const int count = int(pick(0, total - first));
            QByteArray hash(32, Qt::Uninitialized);
            for (char& c : hash)
                c = char(pick(0, 255));
            map.loads.push_back({text(), text(), int(extreme(1, 1024)), int(extreme(1, 1024)),
                                 int(extreme(0, INT32_MAX)), int(extreme(0, INT32_MAX)), hash, first, count});
            if ((first += count) == total)
                break;
        }
    return map;
}

const MapSnapshot& BaseMap() {
    static const MapSnapshot base = MakeBase();
    return base;
}

const std::vector<Entry>& Damaged() {
    static const std::vector<Entry> all = MakeDamaged();
    return all;
}

const std::vector<Entry>& Variants() {
    static const std::vector<Entry> all = MakeVariants();
    return all;
}

QByteArray LayersFirst(const MapSnapshot& map, int extraTemplates) {
    return Reordered(Tree(Written(map)), {"format", "version", "map", "layers"}, extraTemplates);
}

MapSnapshot ManyLoadsOfOneImage(const QString& imagePath, int loads, int tileSide) {
    MapSnapshot map;
    map.mapWidth = map.mapHeight = 16, map.layers = 1, map.tileWidth = map.tileHeight = tileSide;
    QFile file(imagePath);
    file.open(QIODevice::ReadOnly);
    const QByteArray hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    const QSize size = QImageReader(imagePath).size();
    const QFileInfo info(imagePath);
    for (int i = 0; i < loads; ++i)
        map.loads.push_back({info.fileName(), info.absoluteFilePath(), tileSide, tileSide, size.width(),
                             size.height(), hash, i, 1});
    map.templates.resize(std::size_t(loads));
    map.layer[0].tiles.resize(16 * 16);
    for (std::size_t i = 0; i < map.layer[0].tiles.size(); ++i)
        map.layer[0].tiles[i] = std::uint16_t(i % std::size_t(loads) + 1);
    return map;
}

std::vector<Entry> LargestMapLies() {
    MapSnapshot map;
    map.mapWidth = map.mapHeight = 4096, map.layers = 8;
    for (LayerSnapshot& layer : map.layer)
        layer.tiles.assign(std::size_t(4096) * 4096, 1);
    const QCborValue tree = Tree(Written(map));
    map = MapSnapshot();
    const Path first{"layers", 0, "tiles", 0};
    return {{QStringLiteral("tiles no load gave, after the layers"),
             Reordered(tree, {"format", "version", "map", "layers"}, 2)},
            {QStringLiteral("no layer data"), Bytes(Set(tree, {"layers"}, QCborArray()))},
            {QStringLiteral("first chunk not zstd"), Bytes(Set(tree, first, QByteArray("not zstd at all")))},
            {QStringLiteral("first chunk a bomb"), Bytes(Set(tree, first, Bomb(64 << 20)))},
            {QStringLiteral("last chunk inflates to more"),
             Bytes(Set(tree, {"layers", 7, "tiles", 255}, Bomb(2 * 65536 + 2)))}};
}

} // namespace MapCorpus
