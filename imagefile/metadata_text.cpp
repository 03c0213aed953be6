#include "imagefile/metadata_text.h"

#include <cstdio>

namespace imagefile {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The next code point of UTF-8 text at i (moved past it); kInvalid for a byte
// that starts no well-formed sequence (i then moves one byte on).
char32_t nextCodePoint(const std::string& s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (extra < 0 || lead >= 0xF5) return kInvalid;
  char32_t code = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return kInvalid;
    code = code << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  }
  i += static_cast<std::size_t>(extra);
  return code;
}

// U+00C0 to U+00FF without their accents.
constexpr char kLatinFolded[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";

std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') out += ' ';
    else out += c;
  }
  return out;
}

// Well-formed UTF-8 for XML: bytes that are no UTF-8 become U+FFFD.
std::string wellFormed(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    if (nextCodePoint(utf8, i) == kInvalid) out += "\xEF\xBF\xBD";
    else out.append(utf8, start, i - start);
  }
  return out;
}

void addAlt(std::string& xmp, const char* property, const std::string& text) {
  if (text.empty()) return;
  xmp += std::string("   <") + property + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + xmlEscaped(wellFormed(text)) +
         "</rdf:li></rdf:Alt></" + property + ">\n";
}

void addSimple(std::string& xmp, const char* property, const std::string& text) {
  if (text.empty()) return;
  xmp += std::string("   <") + property + ">" + xmlEscaped(wellFormed(text)) + "</" + property + ">\n";
}

}  // namespace

std::string EscapedUtf8(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t code = nextCodePoint(text, i);
    // Control characters (C0, DEL, C1) would act on a terminal rather than show.
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (code != kInvalid && !control) {
      out.append(text, start, i - start);
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X",
                  code == kInvalid ? static_cast<unsigned char>(text[start]) : static_cast<unsigned>(code));
    out += escaped;
  }
  return out;
}

bool IsAscii(const std::string& text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string SevenBitText(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t code = nextCodePoint(utf8, i);
    if (code < 0x80) out += static_cast<char>(code);
    else if (code == 0xDF) out += "ss";  // German sharp s: Strasse, never Strase
    else if (code >= 0xC0 && code <= 0xFF) out += kLatinFolded[code - 0xC0];
    else out += '?';
  }
  return out;
}

std::vector<std::uint8_t> UnicodeUserComment(const std::string& utf8) {
  std::vector<std::uint8_t> bytes = {'U', 'N', 'I', 'C', 'O', 'D', 'E', 0};
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t code = nextCodePoint(utf8, i);
    if (code == kInvalid || code > 0xFFFF) code = '?';  // beyond what one UTF-16 unit holds
    bytes.push_back(static_cast<std::uint8_t>(code & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(code >> 8));
  }
  return bytes;
}

std::string XmpPacket(const ImageMetadata& m) {
  if (m.source.empty() && m.documentId.empty()) return {};
  std::string xmp =
      "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
      " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
      "    xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\">\n";
  addSimple(xmp, "dc:source", m.source);
  addAlt(xmp, "dc:description", m.description);
  addAlt(xmp, "dc:rights", m.copyright);
  addSimple(xmp, "xmpMM:DocumentID", m.documentId);
  addSimple(xmp, "xmpMM:InstanceID", m.instanceId);
  xmp +=
      "  </rdf:Description>\n"
      " </rdf:RDF>\n"
      "</x:xmpmeta>\n"
      "<?xpacket end=\"r\"?>";
  return xmp;
}

}  // namespace imagefile
