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
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <zstd.h>

namespace MapCorpus {

namespace {

QByteArray Written(const MapSnapshot& map) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!MapFile::Write(map, buffer).ok())
        qFatal("the corpus map cannot be written");
    return bytes;
}

const QString kOddTexts[] = {QString(),
                             QStringLiteral("a"),
                             QString::fromUtf16(u"ä€\U0001D11E 👍🏽 e\u0301"),
                             QString::fromUtf16(u"nul\0inside", 10),
                             QStringLiteral("tab\tnew\nline\r\"quote\"\\"),
                             QString::fromUtf16(u"\uFEFFbom first, \u202Eright to left, \uFFFF\uFFFE"),
                             QString(40000, QChar(u'字'))};

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
        return CellRecord{int(extreme(INT32_MIN, INT32_MAX)),
                          int(extreme(INT32_MIN, INT32_MAX)),
                          std::int16_t(extreme(-32768, 32767)),
                          std::int16_t(extreme(-32768, 32767)),
                          std::int16_t(extreme(-32768, 32767)),
                          std::int16_t(extreme(-32768, 32767)),
                          std::int16_t(extreme(-32768, 32767)),
                          text(),
                          text(),
                          std::uint8_t(extreme(0, 255)),
                          pick(0, 1) == 1,
                          pick(0, 1) == 1};
    };
    MapSnapshot map;
    map.mapWidth = width;
    map.mapHeight = height;
    map.layers = int(pick(1, 8));
    map.tileWidth = int(extreme(1, 1024));
    map.tileHeight = int(extreme(1, 1024));
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

namespace {

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
    std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> context(ZSTD_createCCtx(), ZSTD_freeCCtx);
    const std::vector<char> zeros(1 << 20, 0);
    std::vector<char> out(ZSTD_CStreamOutSize());
    QByteArray frame;
    for (qint64 fed = 0;; fed += qint64(zeros.size())) {
        const bool last = fed >= bytes;
        ZSTD_inBuffer in{zeros.data(),
                         last ? 0 : std::size_t(std::min<qint64>(bytes - fed, qint64(zeros.size()))), 0};
        std::size_t left = 0;
        do {
            ZSTD_outBuffer o{out.data(), out.size(), 0};
            left = ZSTD_compressStream2(context.get(), &o, &in, last ? ZSTD_e_end : ZSTD_e_continue);
            frame.append(out.data(), qsizetype(o.pos));
        } while (last ? left != 0 : in.pos < in.size);
        if (last)
            return frame;
    }
}

// A CBOR head: major type and argument, in the shortest form.
QByteArray Head(int major, quint64 argument) {
    const int width = argument < 24            ? 0
                      : argument <= 0xFF       ? 1
                      : argument <= 0xFFFF     ? 2
                      : argument <= 0xFFFFFFFF ? 4
                                               : 8;
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
    bool definite = false;
    std::vector<qint64> keys;
};

void Walk(QCborStreamReader& reader, const QByteArray& bytes, std::vector<Item>* items) {
    const std::size_t at = items->size();
    items->emplace_back();
    Item item;
    item.start = reader.currentOffset();
    const auto initial = quint8(bytes[item.start]);
    item.major = initial >> 5;
    const int info = initial & 31;
    const int width = info < 24 || info == 31 ? 0 : 1 << (info - 24);
    item.definite = info != 31;
    item.argument = info < 24 ? quint64(info) : 0;
    for (int i = 0; i < width; ++i)
        item.argument = item.argument << 8 | quint8(bytes[item.start + 1 + i]);
    item.headEnd = item.start + 1 + width;
    if (reader.isContainer()) {
        reader.enterContainer();
        for (int entry = 0; reader.hasNext(); ++entry) {
            if (reader.parentContainerType() == QCborStreamReader::Map && entry % 2 == 0)
                item.keys.push_back(reader.currentOffset());
            Walk(reader, bytes, items);
        }
        reader.leaveContainer();
    } else if (reader.isTag()) {
        reader.next();
        Walk(reader, bytes, items);
    } else {
        reader.next();
    }
    item.end = reader.currentOffset();
    (*items)[at] = item;
}

std::vector<Item> Items(const QByteArray& bytes) {
    QCborStreamReader reader(bytes);
    std::vector<Item> items;
    Walk(reader, bytes, &items);
    return items;
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

// The tree with the value at path changed (removed from its map or array when change gives nothing).
std::optional<QCborValue> Edited(const QCborValue& node, std::span<const QCborValue> path,
                                 const std::function<std::optional<QCborValue>(const QCborValue&)>& change) {
    if (path.empty())
        return change(node);
    if (node.isMap()) {
        QCborMap map = node.toMap();
        if (const std::optional<QCborValue> changed = Edited(map.value(path[0]), path.subspan(1), change))
            map[path[0]] = *changed;
        else
            map.remove(path[0]);
        return map;
    }
    QCborArray array = node.toArray();
    const qsizetype i = path[0].toInteger();
    if (const std::optional<QCborValue> changed = Edited(array.at(i), path.subspan(1), change))
        array[i] = *changed;
    else
        array.removeAt(i);
    return array;
}

QCborValue Set(const QCborValue& root, const Path& path, const QCborValue& value) {
    return *Edited(root, path, [&](const QCborValue&) { return value; });
}

void Paths(const QCborValue& node, Path& path, std::vector<std::pair<Path, QCborValue>>* all) {
    if (!path.empty())
        all->push_back({path, node});
    const QCborMap map = node.toMap();
    for (auto entry = map.constBegin(); entry != map.constEnd(); ++entry) {
        path.push_back(entry.key());
        Paths(entry.value(), path, all);
        path.pop_back();
    }
    const QCborArray array = node.toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        path.push_back(i);
        Paths(array.at(i), path, all);
        path.pop_back();
    }
}

// A cell record's fields are optional, every other map's are required.
bool InRecord(const Path& path) {
    return (path.size() == 3 && path[0] == QCborValue(QStringLiteral("templates"))) ||
           (path.size() == 6 && path[4] == QCborValue(QStringLiteral("cell")));
}

QString Where(const Path& path) {
    QStringList steps;
    for (const QCborValue& step : path)
        steps.append(step.isString() ? step.toString() : QString::number(step.toInteger()));
    return steps.join(u'/');
}

int TypeClass(const QCborValue& value) {
    return value.isBool()      ? int(QCborValue::True)
           : value.isInteger() ? int(QCborValue::Integer)
                               : int(value.type());
}

QCborValue Tree(const QByteArray& bytes) {
    return QCborValue::fromCbor(bytes).taggedValue();
}

QByteArray Bytes(const QCborValue& tree) {
    return QCborValue(QCborKnownTags::Signature, tree).toCbor();
}

MapSnapshot MakeBase() {
    MapSnapshot map;
    map.mapWidth = 300; // two chunks a layer
    map.mapHeight = 220;
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

} // namespace

const MapSnapshot& BaseMap() {
    static const MapSnapshot base = MakeBase();
    return base;
}

namespace {

using P = Path;

QCborValue Key(const char* key) {
    return QCborValue(QLatin1StringView(key));
}

QCborValue At(const QCborValue& root, const Path& path) {
    QCborValue node = root;
    for (const QCborValue& step : path)
        node = step.isString() ? node.toMap().value(step) : node.toArray().at(step.toInteger());
    return node;
}

// The file with its entries in the order given, the rest after them, and extraTemplates tiles more.
QByteArray Reordered(const QCborValue& tree, std::initializer_list<const char*> first,
                     int extraTemplates = 0) {
    QCborMap reordered;
    for (const char* key : first)
        reordered[Key(key)] = At(tree, P({Key(key)}));
    QCborArray templates = At(tree, P({Key("templates")})).toArray();
    for (int i = 0; i < extraTemplates; ++i)
        templates.append(QCborMap());
    reordered[Key("templates")] = templates;
    reordered[Key("loads")] = At(tree, P({Key("loads")}));
    return Bytes(reordered);
}

std::vector<Entry> MakeDamaged() {
    std::vector<Entry> out;
    const QByteArray base = Written(BaseMap());
    const QCborValue tree = Tree(base);
    auto add = [&](const QString& name, const QByteArray& bytes) { out.push_back({name, bytes}); };
    auto set = [&](const QString& name, const Path& path, const QCborValue& value) {
        add(name, Bytes(Set(tree, path, value)));
    };

    for (qsizetype n = 0; n < base.size(); ++n)
        add(QStringLiteral("cut after %1 bytes").arg(n), base.left(n));
    add(QStringLiteral("a byte after its end"), base + '\0');
    for (const Item& item : Items(base)) {
        if (item.major < 2 || item.major > 5 || !item.definite)
            continue;
        // A lie that happens to leave a well-formed file, such as a key cut short whose last letter reads as
        // the head of a value, makes another map: only the others must be refused.
        for (const quint64 lie :
             {item.argument + 1, item.argument - 1, quint64(0xFFFFFFFF), quint64(1) << 62})
            if (const QByteArray lying = Spliced(base, item.start, item.headEnd, Head(item.major, lie));
                lie != item.argument && !WellFormed(lying))
                add(QStringLiteral("length at %1 says %2, not %3")
                        .arg(item.start)
                        .arg(lie)
                        .arg(item.argument),
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
    Path root;
    Paths(tree, root, &paths);
    const QCborValue wrongTypes[] = {
        1,          -5,  QStringLiteral("x"),        QByteArray("b"), true, nullptr, QCborArray(),
        QCborMap(), 1.5, QCborValue(QCborTag(99), 1)};
    for (const auto& [path, old] : paths) {
        const QString where = Where(path);
        for (const QCborValue& wrong : wrongTypes)
            if (TypeClass(wrong) != TypeClass(old))
                set(where + QStringLiteral(" is ") + wrong.toDiagnosticNotation(), path, wrong);
        if (path.back().isString() && !InRecord(path))
            add(where + QStringLiteral(" missing"),
                Bytes(*Edited(tree, path, [](const QCborValue&) { return std::nullopt; })));
    }

    const std::pair<Path, std::vector<QCborValue>> lies[] = {
        {P({Key("version")}), {0, 2, -1, qint64(1) << 40}},
        {P({Key("format")}), {QStringLiteral("mosaicor-mapx"), QString()}},
        {P({Key("map"), Key("width")}), {299, 301, 0, -1, 8193}},
        {P({Key("map"), Key("height")}), {219, 221}},
        {P({Key("map"), Key("layers")}), {2, 4, 0, 9}},
        {P({Key("map"), Key("tileWidth")}), {0, 1025}},
        {P({Key("map"), Key("tileHeight")}), {0, 1025}},
        {P({Key("map"), Key("visibleLayers")}), {256, -1}},
        {P({Key("loads"), 0, Key("firstTile")}), {1}},
        {P({Key("loads"), 1, Key("firstTile")}), {1, 3}},
        {P({Key("loads"), 1, Key("tileCount")}), {0, 2}},
        {P({Key("loads"), 0, Key("tileWidth")}), {0, 1025}},
        {P({Key("loads"), 0, Key("imageWidth")}), {-1}},
        {P({Key("loads"), 0, Key("sha256")}), {QByteArray(31, 'h'), QByteArray(33, 'h')}},
        {P({Key("layers"), 0, Key("exceptions"), 0, Key("index")}), {65535, 66000, -1, 5000}},
        {P({Key("layers"), 0, Key("exceptions"), 0, Key("cell"), Key("width")}), {32768, -32769}},
        {P({Key("layers"), 0, Key("exceptions"), 0, Key("cell"), Key("x")}),
         {qint64(1) << 31, -(qint64(1) << 31) - 1}},
        {P({Key("layers"), 0, Key("exceptions"), 0, Key("cell"), Key("zOrder")}), {256, -1}},
    };
    for (const auto& [path, values] : lies)
        for (const QCborValue& value : values)
            set(Where(path) + QStringLiteral(" = ") + value.toDiagnosticNotation(), path, value);
    const QCborValue largest =
        Set(Set(Set(tree, P({Key("map"), Key("width")}), 4096), P({Key("map"), Key("height")}), 4096),
            P({Key("map"), Key("layers")}), 8);
    add(QStringLiteral("claims the largest map"), Bytes(largest));
    add(QStringLiteral("claims the largest map, no layer data"),
        Bytes(Set(largest, P({Key("layers")}), QCborArray())));
    add(QStringLiteral("8192 x 2049 cells"),
        Bytes(Set(Set(tree, P({Key("map"), Key("width")}), 8192), P({Key("map"), Key("height")}), 2049)));

    std::vector<std::uint16_t> first(BaseMap().layer[1].tiles.begin(),
                                     BaseMap().layer[1].tiles.begin() + 65536);
    std::vector<std::uint16_t> plusOne(first), badValue(first), oddAlone(first);
    plusOne.push_back(1);
    badValue[9] = 40000;
    oddAlone[7] = kOddTile;
    const std::pair<const char*, QByteArray> chunks[] = {
        {"not zstd", QByteArray("not zstd at all")},
        {"empty", QByteArray()},
        {"one value more", ChunkFrame(plusOne)},
        {"one value less", ChunkFrame(std::span(first).first(65535))},
        {"a bomb", Bomb(64 << 20)},
        {"a byte more", Bomb(2 * 65536 + 1)},
        {"a tile value of 40000", ChunkFrame(badValue)},
        {"an odd tile with no properties", ChunkFrame(oddAlone)},
        {"longer than any frame", QByteArray(200000, 'z')}};
    for (const auto& [what, frame] : chunks) {
        set(QStringLiteral("first chunk is ") + QLatin1StringView(what),
            P({Key("layers"), 1, Key("tiles"), 0}), frame);
        set(QStringLiteral("last chunk is ") + QLatin1StringView(what),
            P({Key("layers"), 2, Key("tiles"), 1}), frame);
    }
    const QCborArray tiles = At(tree, P({Key("layers"), 1, Key("tiles")})).toArray();
    set(QStringLiteral("a chunk missing"), P({Key("layers"), 1, Key("tiles")}), QCborArray{tiles.at(0)});
    set(QStringLiteral("a chunk too many"), P({Key("layers"), 1, Key("tiles")}),
        QCborArray{tiles.at(0), tiles.at(1), tiles.at(1)});
    QCborArray exceptions = At(tree, P({Key("layers"), 0, Key("exceptions")})).toArray();
    set(QStringLiteral("exceptions out of order"), P({Key("layers"), 0, Key("exceptions")}),
        QCborArray{exceptions.at(1), exceptions.at(0)});
    set(QStringLiteral("an exception twice"), P({Key("layers"), 0, Key("exceptions")}),
        QCborArray{exceptions.at(0), exceptions.at(0), exceptions.at(1)});
    QCborArray templates = At(tree, P({Key("templates")})).toArray();
    templates.append(QCborMap());
    set(QStringLiteral("a tile no image gave"), P({Key("templates")}), templates);
    QCborArray tooMany;
    for (int i = 0; i <= 32768; ++i)
        tooMany.append(QCborMap());
    set(QStringLiteral("32769 tiles"), P({Key("templates")}), tooMany);
    add(QStringLiteral("layers before the map's size"),
        Reordered(tree, {"format", "version", "layers", "map"}));
    for (const auto& [name, bytes] : std::initializer_list<std::pair<const char*, QByteArray>>{
             {"empty", QByteArray()},
             {"text", QByteArray("hello")},
             {"png", QByteArray("\x89PNG\r\n\x1a\n")},
             {"json", QByteArray(R"({"format":"mosaicor-map","version":1})")},
             {"signature alone", base.left(3)},
             {"a list",
              QCborArray{QStringLiteral("format"), QStringLiteral("mosaicor-map")}.toCborValue().toCbor()}})
        add(QLatin1StringView(name), bytes);
    return out;
}

std::vector<Entry> MakeVariants() {
    std::vector<Entry> out;
    const QByteArray base = Written(BaseMap());
    const QCborValue tree = Tree(base);
    out.push_back({QStringLiteral("no signature"), tree.toCbor()});
    std::vector<std::pair<Path, QCborValue>> paths;
    Path root;
    Paths(tree, root, &paths);
    paths.push_back({root, tree});
    const QCborMap unknown{
        {Key("unknownField"), QCborArray{1, QStringLiteral("two"), QByteArray(300, 'x'), QCborMap{{7, 8}}}},
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
    out.push_back(
        {QStringLiteral("initial values spelled out"),
         Bytes(Set(tree, P({Key("templates"), 1}),
                   QCborMap{{Key("x"), 0}, {Key("custom1"), QString()}, {Key("passable"), false}}))});
    for (const Item& item : Items(base)) {
        if (item.major < 2 || item.major > 5 || !item.definite)
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
    map.mapWidth = map.mapHeight = 16;
    map.layers = 1;
    map.tileWidth = map.tileHeight = tileSide;
    QFile file(imagePath);
    file.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(imagePath).size();
    TilesetLoadRecord load;
    load.relativePath = QFileInfo(imagePath).fileName();
    load.absolutePath = QFileInfo(imagePath).absoluteFilePath();
    load.tileWidth = load.tileHeight = tileSide;
    load.imageWidth = size.width();
    load.imageHeight = size.height();
    load.contentHash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    load.tileCount = 1;
    for (int i = 0; i < loads; ++i) {
        load.firstTile = i;
        map.loads.push_back(load);
    }
    map.templates.resize(std::size_t(loads));
    map.layer[0].tiles.resize(16 * 16);
    for (std::size_t i = 0; i < map.layer[0].tiles.size(); ++i)
        map.layer[0].tiles[i] = std::uint16_t(i % std::size_t(loads) + 1);
    return map;
}

std::vector<Entry> LargestMapLies() {
    MapSnapshot map;
    map.mapWidth = 4096;
    map.mapHeight = 4096;
    map.layers = 8;
    for (LayerSnapshot& layer : map.layer)
        layer.tiles.assign(std::size_t(4096) * 4096, 1);
    const QCborValue tree = Tree(Written(map));
    map = MapSnapshot();
    const Path first = P({Key("layers"), 0, Key("tiles"), 0});
    return {{QStringLiteral("tiles no load gave, after the layers"),
             Reordered(tree, {"format", "version", "map", "layers"}, 2)},
            {QStringLiteral("no layer data"), Bytes(Set(tree, P({Key("layers")}), QCborArray()))},
            {QStringLiteral("first chunk not zstd"), Bytes(Set(tree, first, QByteArray("not zstd at all")))},
            {QStringLiteral("first chunk a bomb"), Bytes(Set(tree, first, Bomb(64 << 20)))},
            {QStringLiteral("last chunk inflates to more"),
             Bytes(Set(tree, P({Key("layers"), 7, Key("tiles"), 255}), Bomb(2 * 65536 + 2)))}};
}

} // namespace MapCorpus
