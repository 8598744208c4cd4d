// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/odf_package.h"

#include "document/text_document.h"

#include <QList>
#include <QString>
#include <QtEndian>

namespace ogrado {

namespace {

// The zip records a package consists of (PKWARE APPNOTE): little-endian fields.
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr quint32 kCentralHeader = 0x02014b50;
constexpr quint32 kEndOfCentral = 0x06054b50;
constexpr quint32 kDataDescriptor = 0x08074b50;
constexpr int kLocalHeaderSize = 30;
constexpr int kCentralHeaderSize = 46;
constexpr int kEndOfCentralSize = 22;

const QByteArray kManifest = QByteArrayLiteral("META-INF/manifest.xml");
const QByteArray kStyles = QByteArrayLiteral("styles.xml");

quint16 u16(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.constData() + at);
}
quint32 u32(const QByteArray& data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.constData() + at);
}
void put16(QByteArray& data, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    data.append(b, 2);
}
void put32(QByteArray& data, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    data.append(b, 4);
}
void set32(QByteArray& data, qsizetype at, quint32 v)
{
    qToLittleEndian(v, data.data() + at);
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// One entry of the package: its central record and the bytes of its local record and data.
struct Entry {
    QByteArray name;
    QByteArray central;
    QByteArray local;
};

// The entries of a zip file through its central directory; nothing when it is not one
// that can be read here (spanned, zip64, damaged).
std::optional<QList<Entry>> readEntries(const QByteArray& zip)
{
    const qsizetype end = zip.size() - kEndOfCentralSize;
    qsizetype eocd = -1;
    for (qsizetype at = end; at >= 0 && at >= end - 0xFFFF; --at) {
        if (u32(zip, at) == kEndOfCentral) {
            eocd = at;
            break;
        }
    }
    if (eocd < 0)
        return std::nullopt;
    const int count = u16(zip, eocd + 10);
    const qsizetype cdSize = u32(zip, eocd + 12);
    qsizetype at = u32(zip, eocd + 16);
    if (at + cdSize > eocd)
        return std::nullopt;
    QList<Entry> entries;
    for (int i = 0; i < count; ++i) {
        if (at + kCentralHeaderSize > eocd || u32(zip, at) != kCentralHeader)
            return std::nullopt;
        const quint16 flags = u16(zip, at + 8);
        const qsizetype packed = u32(zip, at + 20);
        const qsizetype nameLength = u16(zip, at + 28);
        const qsizetype recordLength = kCentralHeaderSize + nameLength + u16(zip, at + 30) + u16(zip, at + 32);
        const qsizetype local = u32(zip, at + 42);
        if (at + recordLength > eocd || local + kLocalHeaderSize > zip.size() || u32(zip, local) != kLocalHeader)
            return std::nullopt;
        qsizetype localLength = kLocalHeaderSize + u16(zip, local + 26) + u16(zip, local + 28) + packed;
        if (flags & 0x8) {  // sizes in a descriptor after the data, with or without its signature
            const qsizetype d = local + localLength;
            if (d + 4 > zip.size())
                return std::nullopt;
            localLength += u32(zip, d) == kDataDescriptor ? 16 : 12;
        }
        if (local + localLength > zip.size())
            return std::nullopt;
        entries.append({zip.mid(at + kCentralHeaderSize, nameLength), zip.mid(at, recordLength),
                        zip.mid(local, localLength)});
        at += recordLength;
    }
    return entries;
}

// An entry stored without compression.
Entry storedEntry(const QByteArray& name, const QByteArray& data)
{
    const quint32 crc = crc32(data);
    // 1 January 2000, 00:00 in the MS-DOS date and time of zip records
    const quint16 time = 0;
    const quint16 date = quint16(((2000 - 1980) << 9) | (1 << 5) | 1);
    Entry e;
    e.name = name;
    put32(e.local, kLocalHeader);
    put16(e.local, 10);  // version needed: 1.0
    put16(e.local, 0);   // flags
    put16(e.local, 0);   // stored
    put16(e.local, time);
    put16(e.local, date);
    put32(e.local, crc);
    put32(e.local, quint32(data.size()));
    put32(e.local, quint32(data.size()));
    put16(e.local, quint16(name.size()));
    put16(e.local, 0);
    e.local += name;
    e.local += data;

    put32(e.central, kCentralHeader);
    put16(e.central, 20);  // made by: 2.0
    put16(e.central, 10);
    put16(e.central, 0);
    put16(e.central, 0);
    put16(e.central, time);
    put16(e.central, date);
    put32(e.central, crc);
    put32(e.central, quint32(data.size()));
    put32(e.central, quint32(data.size()));
    put16(e.central, quint16(name.size()));
    put16(e.central, 0);  // extra
    put16(e.central, 0);  // comment
    put16(e.central, 0);  // disk
    put16(e.central, 0);  // internal attributes
    put32(e.central, 0);  // external attributes
    put32(e.central, 0);  // offset, set when written
    e.central += name;
    return e;
}

QString mm(double v)
{
    return QString::number(v, 'f', 1) + QStringLiteral("mm");
}

// The page and its footer. The word processor counts the pages itself.
QByteArray stylesXml()
{
    const double footer = 8;  // the footer's height with its distance from the text
    const QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<office:document-styles xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
            "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" office:version=\"1.2\">\n"
            "<office:styles>\n"
            "<style:style style:name=\"Footer\" style:family=\"paragraph\">"
            "<style:paragraph-properties fo:text-align=\"end\"/>"
            "<style:text-properties style:font-name=\"DejaVu Sans\" fo:font-family=\"'DejaVu Sans'\" "
            "fo:font-size=\"8pt\"/></style:style>\n"
            "</office:styles>\n"
            "<office:automatic-styles>\n"
            "<style:page-layout style:name=\"pm1\">"
            "<style:page-layout-properties fo:page-width=\"%1\" fo:page-height=\"%2\" "
            "style:print-orientation=\"portrait\" fo:margin-top=\"%3\" fo:margin-bottom=\"%4\" "
            "fo:margin-left=\"%5\" fo:margin-right=\"%6\"/>"
            "<style:footer-style><style:header-footer-properties fo:min-height=\"0mm\" fo:margin-top=\"%7\"/>"
            "</style:footer-style></style:page-layout>\n"
            "</office:automatic-styles>\n"
            "<office:master-styles>\n"
            "<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"><style:footer>"
            "<text:p text:style-name=\"Footer\">стр. <text:page-number text:select-page=\"current\"/> из "
            "<text:page-count/></text:p></style:footer></style:master-page>\n"
            "</office:master-styles>\n"
            "</office:document-styles>\n")
            .arg(mm(DocumentPage::kWidthMm), mm(DocumentPage::kHeightMm), mm(DocumentPage::kTopMm),
                 mm(DocumentPage::kBottomMm - footer), mm(DocumentPage::kLeftMm), mm(DocumentPage::kRightMm),
                 mm(footer - 4));
    return xml.toUtf8();
}

QByteArray mediaType(const QByteArray& name)
{
    // the text writer stores the pictures of a document as PNG, under names without extension
    if (name.startsWith("Pictures/"))
        return QByteArrayLiteral("image/png");
    if (name.endsWith(".xml"))
        return QByteArrayLiteral("text/xml");
    if (name.endsWith(".png"))
        return QByteArrayLiteral("image/png");
    if (name.endsWith(".jpg") || name.endsWith(".jpeg"))
        return QByteArrayLiteral("image/jpeg");
    return {};
}

// The manifest of every file in the package.
QByteArray manifestXml(const QList<QByteArray>& files)
{
    QByteArray xml = QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
        "manifest:version=\"1.2\">\n"
        " <manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
        "manifest:media-type=\"application/vnd.oasis.opendocument.text\"/>\n");
    for (const QByteArray& f : files) {
        if (f == "mimetype" || f.endsWith('/'))
            continue;
        xml += " <manifest:file-entry manifest:full-path=\"" + f + "\" manifest:media-type=\"" + mediaType(f) +
               "\"/>\n";
    }
    xml += "</manifest:manifest>\n";
    return xml;
}

}  // namespace

QByteArray withPageStyle(const QByteArray& package)
{
    const std::optional<QList<Entry>> read = readEntries(package);
    if (!read)
        return {};
    QList<Entry> entries;
    QList<QByteArray> files;
    for (const Entry& e : *read) {
        // the writer's own manifest and page styles give way to ours
        if (e.name == kManifest || e.name == kStyles)
            continue;
        entries.append(e);
        files.append(e.name);
    }
    files.append(kStyles);
    entries.append(storedEntry(kStyles, stylesXml()));
    entries.append(storedEntry(kManifest, manifestXml(files)));

    QByteArray zip;
    QByteArray central;
    for (Entry& e : entries) {
        set32(e.central, 42, quint32(zip.size()));
        zip += e.local;
        central += e.central;
    }
    const quint32 cdOffset = quint32(zip.size());
    zip += central;
    put32(zip, kEndOfCentral);
    put16(zip, 0);
    put16(zip, 0);
    put16(zip, quint16(entries.size()));
    put16(zip, quint16(entries.size()));
    put32(zip, quint32(central.size()));
    put32(zip, cdOffset);
    put16(zip, 0);
    return zip;
}

}  // namespace ogrado
