#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// PNG files a user might be handed, shared by the tests, the fuzzer's seeds and the load benchmark: every
// colour type, depth and interlacing, colour keys, and hostile files (chunk lengths that lie, compressed
// text bombs, headers that claim more than the file holds, damaged data).
namespace PngCorpus {

struct Entry {
    QString name;
    QByteArray bytes;
    QImage expected; // the pixels (8-bit, not premultiplied); null when the file must be refused
};

const std::vector<Entry>& All(); // built once, on first use

} // namespace PngCorpus
