#include "document/CellRecordFields.h"

#include "document/CborFieldReader.h"
#include "document/CborFieldWriter.h"
#include "document/MapFileFormat.h"

#include <algorithm>
#include <limits>

using namespace MapFileFormat;

namespace {

enum Field {
    X,
    Y,
    Width,
    Height,
    ListIndex,
    ImageIndex,
    ImageValue,
    Custom1,
    Custom2,
    ZOrder,
    Passable,
    Destroyable
};
constexpr std::string_view kKeys[] = {Key::kX,         Key::kY,          Key::kWidth,      Key::kHeight,
                                      Key::kListIndex, Key::kImageIndex, Key::kImageValue, Key::kCustom1,
                                      Key::kCustom2,   Key::kZOrder,     Key::kPassable,   Key::kDestroyable};

template <typename T> bool ReadInt(CborFieldReader& in, Field field, T* value) {
    qint64 number = 0;
    if (!in.Integer(kKeys[field], std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), &number))
        return false;
    *value = T(number);
    return true;
}

} // namespace

void WriteCellRecord(QCborStreamWriter& writer, const CellRecord& r) {
    const qint64 numbers[] = {r.x,          r.y,          r.width, r.height, r.listIndex,
                              r.imageIndex, r.imageValue, 0,       0,        r.zOrder};
    const bool kept[] = {
        r.x != 0,          r.y != 0,          r.width != 0,         r.height != 0,        r.listIndex != 0,
        r.imageIndex != 0, r.imageValue != 0, !r.custom1.isEmpty(), !r.custom2.isEmpty(), r.zOrder != 0,
        r.passable,        r.destroyable};
    writer.startMap(quint64(std::count(std::begin(kept), std::end(kept), true)));
    for (int field = X; field <= Destroyable; ++field) {
        if (!kept[field])
            continue;
        AppendKey(writer, kKeys[field]);
        if (field == Custom1 || field == Custom2)
            AppendText(writer, field == Custom1 ? r.custom1 : r.custom2);
        else if (field == Passable || field == Destroyable)
            writer.append(true);
        else
            writer.append(numbers[field]);
    }
    writer.endMap();
}

bool ReadCellRecord(CborFieldReader& in, CellRecord* record) {
    CellRecord r;
    const bool ok = in.Fields(Key::kCell, kKeys, 0, [&](std::size_t field) {
        switch (Field(field)) {
        case X:
            return ReadInt(in, X, &r.x);
        case Y:
            return ReadInt(in, Y, &r.y);
        case Width:
            return ReadInt(in, Width, &r.width);
        case Height:
            return ReadInt(in, Height, &r.height);
        case ListIndex:
            return ReadInt(in, ListIndex, &r.listIndex);
        case ImageIndex:
            return ReadInt(in, ImageIndex, &r.imageIndex);
        case ImageValue:
            return ReadInt(in, ImageValue, &r.imageValue);
        case Custom1:
            return in.Text(kKeys[Custom1], &r.custom1);
        case Custom2:
            return in.Text(kKeys[Custom2], &r.custom2);
        case ZOrder:
            return ReadInt(in, ZOrder, &r.zOrder);
        case Passable:
            return in.Bool(kKeys[Passable], &r.passable);
        case Destroyable:
            return in.Bool(kKeys[Destroyable], &r.destroyable);
        }
        return false;
    });
    if (ok)
        *record = std::move(r);
    return ok;
}

bool ReadCellExceptions(CborFieldReader& in, qint64 cells, std::vector<CellException>* exceptions,
                        const std::function<bool(const QString&)>& damaged) {
    // The fewest bytes one exception can take: a map of two entries, "index" and a number, "cell" and a map.
    constexpr qint64 kMinExceptionBytes = 1 + 6 + 1 + 5 + 1;
    qint64 count = 0;
    if (!in.EnterArray(Key::kExceptions, cells, kMinExceptionBytes, &count))
        return false;
    constexpr std::string_view keys[] = {Key::kIndex, Key::kCell};
    while (in.HasNext()) {
        if (qint64(exceptions->size()) == cells)
            return damaged(QStringLiteral("a layer has more cell properties than cells"));
        CellException& exception = exceptions->emplace_back();
        const bool ok = in.Fields(Key::kExceptions, keys, 0x3, [&](std::size_t field) {
            if (field == 1)
                return ReadCellRecord(in, &exception.record);
            qint64 index = 0;
            const bool read = in.Integer(Key::kIndex, 0, cells - 1, &index);
            exception.index = std::uint32_t(index);
            return read;
        });
        if (!ok)
            return false;
    }
    return in.Leave();
}
