// The parts of bosh.dll that need no server: SASL, the XML reader, addresses.
#include <gtest/gtest.h>

#include "bosh/Crypto.h"
#include "bosh/HttpTransport.h"
#include "bosh/MiniXml.h"
#include "bosh/Sasl.h"
#include "bosh/Stanzas.h"

namespace {
using namespace bosh;

// The exchange published with SCRAM's definition (RFC 5802, section 5).
constexpr char kClientNonce[] = "fyko+d2lbbFgONRv9qkxdawL";
constexpr char kServerFirst[] = "r=fyko+d2lbbFgONRv9qkxdawL3rfcNHYJY1ZVvWVs7j,s=QSXCR+Q6sek8bf92,i=4096";

std::unique_ptr<CSaslMechanism> Scram() {
    return ChooseSaslMechanism({"PLAIN", "SCRAM-SHA-1"}, "user", "pencil", kClientNonce);
}

TEST(Sasl, ScramSha1MatchesThePublishedExchange) {
    auto scram = Scram();
    ASSERT_STREQ("SCRAM-SHA-1", scram->Name());
    std::string first, final;
    ASSERT_TRUE(scram->Start(first));
    EXPECT_EQ("n,,n=user,r=fyko+d2lbbFgONRv9qkxdawL", first);
    ASSERT_TRUE(scram->Answer(kServerFirst, final));
    EXPECT_EQ("c=biws,r=fyko+d2lbbFgONRv9qkxdawL3rfcNHYJY1ZVvWVs7j,p=v0X8v3Bz2T0CJGbJQyF0X+HI4Ts=", final);
    EXPECT_FALSE(scram->Verify("v=AAAAAAAAAAAAAAAAAAAAAAAAAAA="));
    EXPECT_TRUE(scram->Verify("v=rmF9pqV8S7suAoZWja4dJRkFsKQ="));
}

TEST(Sasl, ScramRefusesChallengesThatAreNotOurExchange) {
    const char* challenges[] = {
        "r=someone-elses-nonce,s=QSXCR+Q6sek8bf92,i=4096",                   // nonce not ours
        "r=fyko+d2lbbFgONRv9qkxdawL,s=QSXCR+Q6sek8bf92,i=4096",              // not extended
        "m=ext,r=fyko+d2lbbFgONRv9qkxdawLx,s=QSXCR+Q6sek8bf92,i=4096",       // mandatory extension
        "r=fyko+d2lbbFgONRv9qkxdawLx,s=QSXCR+Q6sek8bf92,i=999999999",        // absurd iterations
    };
    for (const char* challenge : challenges) {
        auto scram = Scram();
        std::string first, final;
        ASSERT_TRUE(scram->Start(first));
        EXPECT_FALSE(scram->Answer(challenge, final)) << challenge;
        EXPECT_FALSE(scram->Verify("v=rmF9pqV8S7suAoZWja4dJRkFsKQ=")) << challenge;
    }
}

TEST(Sasl, PlainOnlyWhenScramIsNotOfferedAndNamesAreEscaped) {
    std::string data;
    auto plain = ChooseSaslMechanism({"DIGEST-MD5", "PLAIN"}, "user", "pw");
    ASSERT_TRUE(plain && plain->Start(data));
    EXPECT_EQ(std::string("\0user\0pw", 8), data);
    EXPECT_EQ(nullptr, ChooseSaslMechanism({"DIGEST-MD5"}, "user", "pw"));
    auto scram = ChooseSaslMechanism({"SCRAM-SHA-1"}, "a=b,c", "pw", "n");
    ASSERT_TRUE(scram->Start(data));
    EXPECT_EQ("n,,n=a=3Db=2Cc,r=n", data);
}

TEST(Base64, RoundTripsAndRefusesWhatIsNotCanonical) {
    const std::string samples[] = {"", "fo", "foo", std::string("\0\xff\x80", 3)};
    for (const std::string& sample : samples) {
        std::string back;
        ASSERT_TRUE(Base64Decode(Base64Encode(sample), back));
        EXPECT_EQ(sample, back);
    }
    EXPECT_EQ("Zm9vYg==", Base64Encode("foob"));
    std::string out;
    for (const char* bad : {"Zm9", "Zm=v", "Zm9v*g=="}) EXPECT_FALSE(Base64Decode(bad, out)) << bad;
}

TEST(MiniXml, ReadsABoshBodyWithItsNamespaces) {
    auto body = ParseXml(
        "<?xml version='1.0'?><body xmlns='http://jabber.org/protocol/httpbind' "
        "xmlns:stream='http://etherx.jabber.org/streams' sid='s&amp;1'>"
        "<stream:features xmlns='jabber:client'><mechanisms xmlns='urn:ietf:params:xml:ns:xmpp-sasl'>"
        "<mechanism>SCRAM-SHA-1</mechanism><mechanism>PLAIN</mechanism></mechanisms></stream:features>"
        "<message xmlns='jabber:client' from='a@b/c'><body>x &lt;&#233;&#x1F600;<![CDATA[<&>]]></body></message>"
        "</body>");
    ASSERT_TRUE(body);
    EXPECT_EQ("s&1", body->AttributeOr("sid"));
    ASSERT_EQ(2u, body->children.size());
    const XmlElement& features = *body->children[0];
    EXPECT_EQ("features", features.name);
    EXPECT_EQ(xmlns::kStreams, features.ns);
    EXPECT_EQ((std::vector<std::string>{"SCRAM-SHA-1", "PLAIN"}), OfferedMechanisms(features));
    const XmlElement* text = body->children[1]->Child("body", xmlns::kClient);
    ASSERT_TRUE(text);
    EXPECT_EQ("x <\xC3\xA9\xF0\x9F\x98\x80<&>", text->text);
}

TEST(MiniXml, RefusesWhatIsNotOneWellFormedElement) {
    const char* bad[] = {
        "<a></b>", "<a/><b/>", "<a>&unknown;</a>", "<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>",
        "<p:a/>",       // undeclared prefix
        "<a>\xC3</a>",  // broken UTF-8
        "<a>&#0;</a>",  // a character XML forbids
    };
    for (const char* text : bad) EXPECT_EQ(nullptr, ParseXml(text)) << text;
    std::string deep;
    for (int i = 0; i < 200; ++i) deep += "<a>";
    for (int i = 0; i < 200; ++i) deep += "</a>";
    EXPECT_EQ(nullptr, ParseXml(deep));
}

TEST(MiniXml, EscapedTextComesBackUnchanged) {
    const std::string text = "a<b>&c'd\"e\r\nf \xE4\xBC\x9A";
    auto element = ParseXml("<a v='" + XmlEscape(text) + "'>" + XmlEscape(text) + "</a>");
    ASSERT_TRUE(element);
    EXPECT_EQ(text, element->text);
    EXPECT_EQ(text, element->AttributeOr("v"));
}

TEST(ServiceAddress, SchemeAndPortFollowTheAddress) {
    const struct {
        const char* address;
        bool ok;
        const wchar_t* host;
        int port;
        const wchar_t* path;
        bool secure;
    } cases[] = {
        {"127.0.0.1:5280/http-bind", true, L"127.0.0.1", 5280, L"/http-bind", false},
        {"im.example.com/http-bind/", true, L"im.example.com", 443, L"/http-bind/", true},
        {"http://im.example.com/b", true, L"im.example.com", 80, L"/b", false},
        {"[::1]:5280/b", true, L"::1", 5280, L"/b", false},
        {"h:70000/b", false},
        {"user@h/b", false},
    };
    for (const auto& c : cases) {
        ServiceAddress address;
        ASSERT_EQ(c.ok, ParseServiceAddress(c.address, address)) << c.address;
        if (!c.ok) continue;
        EXPECT_EQ(c.host, address.host) << c.address;
        EXPECT_EQ(c.port, address.port) << c.address;
        EXPECT_EQ(c.path, address.path) << c.address;
        EXPECT_EQ(c.secure, address.secure) << c.address;
    }
}

}  // namespace
