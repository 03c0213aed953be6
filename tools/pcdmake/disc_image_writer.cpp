#include "disc_image_writer.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace pcdmake {
namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kSector = 2048;
constexpr std::uint32_t kRawSector = 2352;
constexpr std::uint32_t kFirstFolderLba = 20;  // after the descriptors (16, 17) and path tables (18, 19)
constexpr std::uint8_t kSubmodeData = 0x08, kSubmodeLast = 0x89, kSubmodeForm2 = 0x20;

struct Node {
  std::string name;  // as recorded: upper case, files with ";1"
  fs::path source;
  bool folder = false;
  std::uint32_t extent = 0, size = 0;
  int parent = 0;                 // folders: index of the parent in the folder list
  std::vector<Node*> children;    // sorted by name
  std::vector<std::unique_ptr<Node>> owned;
};

void PutBoth16(std::uint8_t* p, std::uint32_t v) {
  p[0] = p[3] = static_cast<std::uint8_t>(v);
  p[1] = p[2] = static_cast<std::uint8_t>(v >> 8);
}

void PutBoth32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = p[7 - i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutBe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[3 - i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t RecordLength(const std::string& name) { return (33 + name.size() + 1) & ~1u; }

void ReadTree(Node& node) {
  for (const fs::directory_entry& entry : fs::directory_iterator(node.source)) {
    auto child = std::make_unique<Node>();
    std::string name = entry.path().filename().string();
    name = name.substr(0, name.find(';'));
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    child->source = entry.path();
    child->folder = entry.is_directory();
    if (!child->folder && !entry.is_regular_file()) continue;
    child->name = child->folder ? name : name + ";1";
    if (child->folder) ReadTree(*child);
    else child->size = static_cast<std::uint32_t>(entry.file_size());
    node.children.push_back(child.get());
    node.owned.push_back(std::move(child));
  }
  std::sort(node.children.begin(), node.children.end(), [](const Node* a, const Node* b) { return a->name < b->name; });
}

// Bytes of a folder's records, none crossing a sector boundary.
std::uint32_t FolderSize(const Node& folder) {
  std::uint32_t used = 34 * 2;  // "." and ".."
  for (const Node* child : folder.children) {
    std::uint32_t length = RecordLength(child->name);
    if (used % kSector + length > kSector) used += kSector - used % kSector;
    used += length;
  }
  return (used + kSector - 1) / kSector * kSector;
}

class SectorWriter {
 public:
  SectorWriter(const fs::path& path, bool raw, std::uint32_t firstLba)
      : out_(path, std::ios::binary | std::ios::trunc), raw_(raw), lba_(firstLba) {
    if (!out_) throw std::runtime_error("cannot write " + path.string());
  }
  void Data(const std::uint8_t* data, std::uint8_t submode = kSubmodeData) {
    if (!raw_) {
      out_.write(reinterpret_cast<const char*>(data), kSector);
    } else {
      std::uint8_t sector[kRawSector] = {};
      Head(sector, submode);
      std::memcpy(sector + 24, data, kSector);
      out_.write(reinterpret_cast<const char*>(sector), kRawSector);
    }
    ++lba_;
  }
  // A Form 2 sector (a 2048-byte filler in an .iso) whose bytes belong to no file.
  void Form2() {
    std::uint8_t sector[kRawSector];
    std::memset(sector, 0x5A, sizeof sector);
    if (raw_) Head(sector, kSubmodeForm2);
    out_.write(reinterpret_cast<const char*>(sector), raw_ ? kRawSector : kSector);
    ++lba_;
  }
  std::uint32_t Lba() const { return lba_; }
  void Close() {
    out_.close();
    if (!out_) throw std::runtime_error("cannot finish the disc image");
  }

 private:
  void Head(std::uint8_t* sector, std::uint8_t submode) const {
    sector[0] = sector[11] = 0;
    std::memset(sector + 1, 0xFF, 10);
    std::uint32_t address = lba_ + 150;  // two seconds of lead-in precede sector 0
    auto bcd = [](std::uint32_t n) { return static_cast<std::uint8_t>(n / 10 << 4 | n % 10); };
    sector[12] = bcd(address / 75 / 60);
    sector[13] = bcd(address / 75 % 60);
    sector[14] = bcd(address % 75);
    sector[15] = 2;
    std::uint8_t subheader[4] = {0, 0, submode, 0};
    std::memcpy(sector + 16, subheader, 4);
    std::memcpy(sector + 20, subheader, 4);
  }

  std::ofstream out_;
  bool raw_;
  std::uint32_t lba_;
};

void PutRecord(std::uint8_t* at, const Node& node, const std::string& name) {
  at[0] = static_cast<std::uint8_t>(RecordLength(name));
  PutBoth32(at + 2, node.extent);
  PutBoth32(at + 10, node.size);
  const std::uint8_t date[7] = {96, 6, 1, 12, 0, 0, 0};  // 1996-06-01 12:00
  std::memcpy(at + 18, date, 7);
  at[25] = node.folder ? 0x02 : 0x00;
  PutBoth16(at + 28, 1);
  at[32] = static_cast<std::uint8_t>(name.size());
  std::memcpy(at + 33, name.data(), name.size());
}

}  // namespace

void WriteDiscImage(const fs::path& root, const fs::path& image, const ImageLayout& layout) {
  const std::uint32_t unit = static_cast<std::uint32_t>(std::max(layout.unitSectors, 0));
  const std::uint32_t gap = unit ? static_cast<std::uint32_t>(std::max(layout.gapSectors, 0)) : 0;
  Node top;
  top.source = root;
  top.folder = true;
  ReadTree(top);

  // Folders in path-table order (breadth first), then their extents, then the files'.
  std::vector<Node*> folders{&top};
  for (std::size_t i = 0; i < folders.size(); ++i)
    for (Node* child : folders[i]->children)
      if (child->folder) {
        child->parent = static_cast<int>(i);
        folders.push_back(child);
      }
  const std::uint32_t base = layout.firstLba;
  std::uint32_t next = base + kFirstFolderLba;
  for (Node* folder : folders) {
    folder->extent = next;
    folder->size = FolderSize(*folder);
    next += folder->size / kSector;
  }
  std::vector<Node*> files;
  for (Node* folder : folders)
    for (Node* child : folder->children)
      if (!child->folder) {
        std::uint32_t sectors = (child->size + kSector - 1) / kSector;
        child->extent = next;
        next += sectors + (unit && sectors ? (sectors - 1) / unit * gap : 0);
        files.push_back(child);
      }

  std::vector<std::uint8_t> littleTable, bigTable;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    std::string name = i == 0 ? std::string(1, '\0') : folders[i]->name;
    std::uint8_t entry[8 + 32] = {};
    entry[0] = static_cast<std::uint8_t>(name.size());
    std::memcpy(entry + 8, name.data(), name.size());
    std::size_t length = 8 + name.size() + (name.size() & 1);
    std::uint32_t parent = static_cast<std::uint32_t>(folders[i]->parent) + 1;
    PutLe32(entry + 2, folders[i]->extent);
    entry[6] = static_cast<std::uint8_t>(parent);
    entry[7] = static_cast<std::uint8_t>(parent >> 8);
    littleTable.insert(littleTable.end(), entry, entry + length);
    PutBe32(entry + 2, folders[i]->extent);
    entry[6] = static_cast<std::uint8_t>(parent >> 8);
    entry[7] = static_cast<std::uint8_t>(parent);
    bigTable.insert(bigTable.end(), entry, entry + length);
  }
  if (littleTable.size() > kSector) throw std::runtime_error("too many folders for one path table sector");

  SectorWriter out(image, layout.raw, base);
  std::vector<std::uint8_t> sector(kSector, 0);
  for (int i = 0; i < 16; ++i) out.Data(sector.data());

  // Primary volume descriptor, with the CD-ROM XA mark a Photo CD carries.
  std::fill(sector.begin(), sector.end(), 0);
  sector[0] = 1;
  std::memcpy(&sector[1], "CD001", 5);
  sector[6] = 1;
  std::memset(&sector[8], ' ', 64);
  std::memcpy(&sector[40], "PHOTO_CD", 8);
  PutBoth32(&sector[80], next);
  PutBoth16(&sector[120], 1);
  PutBoth16(&sector[124], 1);
  PutBoth16(&sector[128], kSector);
  PutBoth32(&sector[132], static_cast<std::uint32_t>(littleTable.size()));
  PutLe32(&sector[140], base + 18);
  PutBe32(&sector[148], base + 19);
  PutRecord(&sector[156], top, std::string(1, '\0'));
  std::memset(&sector[190], ' ', 813 - 190);
  for (int d = 0; d < 4; ++d) std::memset(&sector[813 + d * 17], '0', 16);
  sector[881] = 1;
  std::memcpy(&sector[1024], "CD-XA001", 8);
  out.Data(sector.data());
  std::fill(sector.begin(), sector.end(), 0);
  sector[0] = 255;
  std::memcpy(&sector[1], "CD001", 5);
  sector[6] = 1;
  out.Data(sector.data(), kSubmodeLast);
  std::fill(sector.begin(), sector.end(), 0);
  std::copy(littleTable.begin(), littleTable.end(), sector.begin());
  out.Data(sector.data());
  std::fill(sector.begin(), sector.end(), 0);
  std::copy(bigTable.begin(), bigTable.end(), sector.begin());
  out.Data(sector.data());

  for (std::size_t i = 0; i < folders.size(); ++i) {
    Node* folder = folders[i];
    std::vector<std::uint8_t> bytes(folder->size, 0);
    std::uint32_t used = 0;
    auto place = [&](const Node& node, const std::string& name) {
      std::uint32_t length = RecordLength(name);
      if (used % kSector + length > kSector) used += kSector - used % kSector;
      PutRecord(&bytes[used], node, name);
      if (node.folder == false && unit) {
        bytes[used + 26] = static_cast<std::uint8_t>(unit);
        bytes[used + 27] = static_cast<std::uint8_t>(gap);
      }
      used += length;
    };
    place(*folder, std::string(1, '\0'));
    place(*folders[folder->parent], std::string(1, '\1'));
    for (const Node* child : folder->children) place(*child, child->name);
    for (std::uint32_t at = 0; at < folder->size; at += kSector)
      out.Data(&bytes[at], at + kSector == folder->size ? kSubmodeLast : kSubmodeData);
  }

  for (const Node* file : files) {
    std::ifstream in(file->source, std::ios::binary);
    std::uint32_t sectors = (file->size + kSector - 1) / kSector;
    for (std::uint32_t k = 0; k < sectors; ++k) {
      if (unit && k > 0 && k % unit == 0)
        for (std::uint32_t g = 0; g < gap; ++g) out.Form2();
      std::fill(sector.begin(), sector.end(), 0);
      in.read(reinterpret_cast<char*>(sector.data()), kSector);
      if (in.bad()) throw std::runtime_error("cannot read " + file->source.string());
      out.Data(sector.data(), k + 1 == sectors ? kSubmodeLast : kSubmodeData);
    }
  }
  out.Close();

  if (layout.raw) {
    fs::path cue = image;
    cue.replace_extension(".cue");
    std::ofstream sheet(cue, std::ios::trunc);
    sheet << "FILE \"" << image.filename().string() << "\" BINARY\r\n"
          << "  TRACK 01 MODE2/2352\r\n"
          << "    INDEX 01 00:00:00\r\n";
    sheet.close();
    if (!sheet) throw std::runtime_error("cannot write " + cue.string());
  }
}

}  // namespace pcdmake
