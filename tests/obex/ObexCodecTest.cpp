#include "obex/ObexPacket.h"
#include "obex/ObexReceiver.h"

#include <gtest/gtest.h>

namespace {

struct HeaderCase {
    QByteArray headers;
    bool wellFormed;
    int visited;
};

// Headers come from the peer: every length is checked against the packet.
TEST(ObexPacket, ReadsHeadersOnlyWithinThePacket)
{
    const QByteArray name = Obex::PacketWriter(0).text(Obex::Name, "hi.txt").packet().mid(3);
    const HeaderCase cases[] = {
        {name + QByteArray::fromHex("C300000003" "490006" "68690A" "9701"), true, 4},
        {QByteArray::fromHex("490002"), false, 0},          // length below its own 3 bytes
        {QByteArray::fromHex("48FFFF6869"), false, 0},      // length past the end
        {name + QByteArray::fromHex("C30000"), false, 1},   // four-byte header cut short
        {QByteArray::fromHex("97"), false, 0},              // one-byte header without its byte
        {QByteArray::fromHex("4800"), false, 0},            // length cut short
        {QByteArray(), true, 0},
    };
    for (const HeaderCase &c : cases) {
        int visited = 0;
        QString text;
        QByteArray body;
        EXPECT_EQ(Obex::forEachHeader(c.headers, 0,
                                      [&](const Obex::Header &h) {
                                          ++visited;
                                          if (h.id == Obex::Name)
                                              text = h.text();
                                          if (h.id == Obex::EndOfBody)
                                              body = h.data.toByteArray();
                                      }),
                  c.wellFormed)
            << c.headers.toHex().constData();
        EXPECT_EQ(visited, c.visited) << c.headers.toHex().constData();
        if (c.wellFormed && visited) {
            EXPECT_EQ(text, "hi.txt");
            EXPECT_EQ(body, "hi\n");
        }
    }
}

TEST(ObexReceiver, KeepsOnlyABareFileName)
{
    const std::pair<QString, QString> cases[] = {
        {"../../x", "x"},
        {"C:\\x", "x"},
        {"C:x.txt", "Cx.txt"},
        {QString::fromUtf8("a\x01" "b\tc\x7f" "d\n.txt"), "abcd.txt"},
        {"a*?\"<>|.txt", "a.txt"},
        {"..", "fallback"},
        {"dir/", "fallback"},
        {" . ", "fallback"},
        {"", "fallback"},
        {QString(300, QLatin1Char('n')), QString(255, QLatin1Char('n'))},
        {QString::fromUtf8("Résumé.doc"), QString::fromUtf8("Résumé.doc")},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(ObexReceiver::safeName(name, "fallback"), expected) << name.toStdString();
}

} // namespace
