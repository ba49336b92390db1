#pragma once

#include "document/MapSnapshot.h"

#include <QString>
#include <functional>
#include <vector>

class CborFieldReader;
class QCborStreamWriter;

// A cell record in a map file: a map of its twelve fields, each left out when it holds its initial value (0,
// an empty text, false), so the templates of a large tileset, mostly untouched, take a few bytes each.
void WriteCellRecord(QCborStreamWriter& writer, const CellRecord& record);
// Reads one record; a field left out keeps its initial value, a field of the wrong type or range or given
// twice refuses the file, an unknown field is passed over.
bool ReadCellRecord(CborFieldReader& in, CellRecord* record);
// Reads a layer's cell properties: at most cells of them, each naming a cell index below cells. damaged(what)
// refuses the input, saying what is wrong, and gives false.
bool ReadCellExceptions(CborFieldReader& in, qint64 cells, std::vector<CellException>* exceptions,
                        const std::function<bool(const QString&)>& damaged);
