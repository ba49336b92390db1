#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

// PNG files a user might be handed: every colour type, depth and interlacing with and without colour keys,
// and hostile ones (chunk lengths that lie, compressed text bombs, headers that claim more than the file
// holds, damaged data). The tests, the fuzzer's seeds and the load benchmark all use the same files.
namespace PngCorpus {

struct Entry {
    QString name;
    QByteArray bytes;
    // The pixels the file holds, worked out from the samples written (8-bit, not premultiplied), or a null
    // image when the file must be refused.
    QImage expected;
};

// Built once, on first use.
const std::vector<Entry>& All();

} // namespace PngCorpus
