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

    // A small object can keep its members on one line, which makes long lists of them easier to read.
    enum class Layout { Lines, OneLine };
    void BeginObject(Layout layout = Layout::Lines);
    void EndObject();
    void BeginArray();
    void EndArray();
    // key is a name the program chose: ASCII, nothing to escape. The value follows: json.Key("x").Int(0).
    JsonStreamWriter& Key(const char* key);
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
    void Open(char bracket, Layout layout);
    void Close(char bracket);
    void NewLine();
    void FlushIfFull();

    QIODevice& device;
    QByteArray held;
    struct Container {
        bool hasValue = false;
        Layout layout = Layout::Lines;
    };
    std::vector<Container> open;
    bool afterKey = false;
    bool failed = false;
    int altered = 0;
};
