#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <memory>

class QIODevice;

// Writes an opaque picture as an 8-bit RGB PNG a band of rows at a time, so a picture far larger than
// memory allows can be written: only one band and the compressor's buffers are ever held.
class PngBandWriter {
public:
    // Writes the signature and the header for a picture of width x height pixels (each at least 1).
    PngBandWriter(QIODevice& device, int width, int height);
    ~PngBandWriter();
    PngBandWriter(const PngBandWriter&) = delete;
    PngBandWriter& operator=(const PngBandWriter&) = delete;

    // The next band.height() rows of the picture, band being width pixels wide (any 32-bit RGB format;
    // alpha is ignored). False, with Problem() set, when writing failed or more rows came than the
    // picture has.
    bool AddRows(const QImage& band);
    // Ends the data and the file; false unless every row came and every byte was written.
    bool Finish();
    QString Problem() const { return m_problem; }

private:
    bool Chunk(const char* type, const QByteArray& data);
    bool Deflate(const unsigned char* data, std::size_t bytes, bool last);
    bool Fail(const QString& why);

    struct Stream;
    QIODevice& m_device;
    int m_width;
    int m_height;
    int m_rowsDone = 0;
    std::unique_ptr<Stream> m_stream;
    QByteArray m_pending;
    QByteArray m_row;
    QString m_problem;
};
