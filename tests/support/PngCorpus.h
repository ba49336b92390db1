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

// Hostile files whose point is their size on disk, or that are no file at all: written into a folder (sparse
// where the file system allows), with the status text a load as a tileset of 32 x 32 tiles must give.
struct LargeFile {
    QString name;
    QString path;
    QString status;
    int tiles = 0; // how many tiles that load adds
};
// A 260,000,000-byte file of zeros, a valid PNG padded with a chunk of 260,000,000 bytes, images of
// 1 x 2^26 and 2^26 x 1 pixels (130 KB and 8 KB) and a FIFO, each named .png. Empty when one cannot be
// written.
std::vector<LargeFile> WriteLargeFiles(const QString& folder);

} // namespace PngCorpus
