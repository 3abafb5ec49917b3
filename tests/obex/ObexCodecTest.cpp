#include "obex/ObexPacket.h"
#include "obex/ObexReceiver.h"

#include <gtest/gtest.h>

namespace {

// Headers come from the peer: every length is checked against the packet.
TEST(ObexPacket, ReadsHeadersOnlyWithinThePacket)
{
    const QByteArray name = Obex::PacketWriter(0).text(Obex::Name, "hi.txt").packet().mid(3);
    const struct { QByteArray headers; bool wellFormed; int visited; } cases[] = {
        {name + QByteArray::fromHex("C300000003" "490006" "68690A" "9701"), true, 4},
        {QByteArray::fromHex("490002"), false, 0},          // length below its own 3 bytes
        {QByteArray::fromHex("48FFFF6869"), false, 0},      // length past the end
        {name + QByteArray::fromHex("C30000"), false, 1},   // four-byte header cut short
        {QByteArray::fromHex("97"), false, 0},              // one-byte header without its byte
        {QByteArray::fromHex("4800"), false, 0},            // length cut short
        {QByteArray(), true, 0},
    };
    for (const auto &c : cases) {
        int visited = 0;
        QString text;
        QByteArray body;
        const bool wellFormed = Obex::forEachHeader(c.headers, 0, [&](const Obex::Header &h) {
            ++visited;
            if (h.id == Obex::Name)
                text = h.text();
            if (h.id == Obex::EndOfBody)
                body = h.data.toByteArray();
        });
        EXPECT_EQ(std::pair(wellFormed, visited), std::pair(c.wellFormed, c.visited)) << c.headers.toHex().data();
        EXPECT_TRUE(!c.wellFormed || !visited || (text == "hi.txt" && body == "hi\n")) << qPrintable(text);
    }
}

TEST(ObexReceiver, KeepsOnlyABareFileName)
{
    const std::pair<QString, QString> cases[] = {
        {"../../x", "x"}, {"C:\\x", "x"}, {"C:x.txt", "Cx.txt"}, {"a*?\"<>|.txt", "a.txt"},
        {QString::fromUtf8("a\x01" "b\tc\x7f" "d\n.txt"), "abcd.txt"}, {"Résumé.doc", "Résumé.doc"},
        {"..", "fallback"}, {"dir/", "fallback"}, {" . ", "fallback"}, {"", "fallback"},
        {QString(300, 'n'), QString(255, 'n')},
    };
    for (const auto &[name, expected] : cases)
        EXPECT_EQ(ObexReceiver::safeName(name, "fallback"), expected) << name.toStdString();
}

} // namespace
