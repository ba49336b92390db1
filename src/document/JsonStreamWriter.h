#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <vector>

// Writes JSON to a device as it goes, indented, without building the document in memory first (a JSON array
// of millions of values takes longer to build than a whole export may). Containers are opened and closed in
// order; inside an object every value follows a Key. Texts are escaped as JSON requires and written as UTF-8.
class JsonStreamWriter {
public:
    explicit JsonStreamWriter(QIODevice& device);

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // key is a name the program chose: ASCII, nothing to escape.
    void Key(const char* key);
    void String(const QString& text);
    void Int(qint64 value);
    void Bool(bool value);
    // A number already written as JSON text.
    void Number(const QString& text);
    // Starts a value whose text the caller writes to the returned device itself, whole, before the next call.
    QIODevice& BeginRawValue();

    // Hands everything still held to the device; false when it refused something, now or before.
    bool Finish();
    // Texts written with U+FFFD in place of a lone UTF-16 surrogate, which UTF-8 cannot encode.
    int AlteredTexts() const { return altered; }

private:
    void BeginValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();
    void FlushIfFull();

    QIODevice& device;
    QByteArray held;
    // Per open container: whether it has a value yet.
    std::vector<bool> hasValue;
    bool afterKey = false;
    bool failed = false;
    int altered = 0;
};
