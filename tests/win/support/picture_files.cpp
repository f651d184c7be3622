#include "tests/win/support/picture_files.h"

#include <windows.h>

#include "platform/text/gb18030_wide_win.h"
#include "tests/pictures/crafted_pictures.h"
#include "tests/win/support/temporary_folder.h"

namespace tarnwell::testing {
namespace {

Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

void Put(const Text& folder, const Text& name, const Bytes& bytes) {
  testing_support::PutFile(Concat(folder, "\\", name),
                           std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// IFD0 with the camera's facts; the previews where each kind puts them.
Bytes Cr2(const Bytes& preview, const Bytes& thumbnail) {
  TiffLayout raw(false, 42, Bytes{'C', 'R', 2, 0, 0, 0, 0, 0});
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "Canon EOS 5D Mark IV");
  raw.Strip(ifd0, 6, raw.AddBlob(preview));
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  return raw.Build();
}

// IFD0 an uncompressed RGB thumbnail of 160 x 120 pixels of one colour, as NEF and DNG have.
void RgbThumbnail(TiffLayout& raw, int directory, bool big, std::uint32_t colour) {
  Bytes pixels(160 * 120 * 3, 0);
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = static_cast<std::uint8_t>(colour >> 16);
    pixels[i + 1] = static_cast<std::uint8_t>(colour >> 8);
    pixels[i + 2] = static_cast<std::uint8_t>(colour);
  }
  raw.Number(directory, 0x0100, kShort, 160);
  raw.Number(directory, 0x0101, kShort, 120);
  raw.Data(directory, 0x0102, kShort, big ? Bytes{0, 8, 0, 8, 0, 8} : Bytes{8, 0, 8, 0, 8, 0}, 3);
  raw.Number(directory, 0x0106, kShort, 2);
  raw.Number(directory, 0x0115, kShort, 3);
  raw.Strip(directory, 1, raw.AddBlob(pixels));
}

Bytes Nef(const Bytes& preview, std::uint32_t rgb) {
  TiffLayout raw(true);
  const int ifd0 = raw.AddDirectory(), sub = raw.AddDirectory();
  RgbThumbnail(raw, ifd0, true, rgb);
  raw.Text(ifd0, 0x0110, "NIKON Z 6");
  raw.Link(ifd0, 0x014A, {sub});
  raw.JpegPair(sub, raw.AddBlob(preview));
  return raw.Build();
}

Bytes Arw(const Bytes& preview, const Bytes& thumbnail) {
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "ILCE-7M3");
  raw.JpegPair(ifd0, raw.AddBlob(preview));
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  return raw.Build();
}

Bytes Dng(const Bytes& preview, std::uint32_t rgb) {
  TiffLayout raw;
  const int ifd0 = raw.AddDirectory(), sub = raw.AddDirectory();
  RgbThumbnail(raw, ifd0, false, rgb);
  raw.Text(ifd0, 0x0110, "LEICA Q2");
  raw.Link(ifd0, 0x014A, {sub});
  raw.Strip(sub, 7, raw.AddBlob(preview));
  return raw.Build();
}

Bytes Pef(const Bytes& preview, const Bytes& thumbnail) {
  TiffLayout raw(true);
  const int ifd0 = raw.AddDirectory(), ifd1 = raw.AddDirectory(), ifd2 = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "PENTAX K-1");
  raw.Next(ifd0, ifd1);
  raw.JpegPair(ifd1, raw.AddBlob(thumbnail));
  raw.Next(ifd1, ifd2);
  raw.JpegPair(ifd2, raw.AddBlob(preview));
  return raw.Build();
}

Bytes Rw2(const Bytes& preview) {
  TiffLayout raw(false, 0x0055);
  const int ifd0 = raw.AddDirectory();
  raw.BlobValue(ifd0, 0x002E, raw.AddBlob(preview));
  return raw.Build();
}

// The preview in Olympus' maker's note, its offsets from the note's start.
Bytes Orf(const Bytes& preview) {
  Bytes note = Ascii(std::string_view("OLYMPUS\0II\x03\0", 12));
  note.resize(60, 0);
  PutU16(note, 12, 1, false);
  PutU16(note, 14, 0x2020, false);
  PutU16(note, 16, 13, false);
  PutU32(note, 18, 1, false);
  PutU32(note, 22, 30, false);
  PutU16(note, 30, 2, false);
  PutU16(note, 32, 0x0101, false);
  PutU16(note, 34, kLong, false);
  PutU32(note, 36, 1, false);
  PutU32(note, 40, 60, false);
  PutU16(note, 44, 0x0102, false);
  PutU16(note, 46, kLong, false);
  PutU32(note, 48, 1, false);
  PutU32(note, 52, static_cast<std::uint32_t>(preview.size()), false);
  note.insert(note.end(), preview.begin(), preview.end());
  TiffLayout raw(false, 0x4F52);
  const int ifd0 = raw.AddDirectory(), exif = raw.AddDirectory();
  raw.Text(ifd0, 0x0110, "E-M1MarkII");
  raw.Link(ifd0, 0x8769, {exif});
  raw.Data(exif, 0x927C, kUndefined, note, static_cast<std::uint32_t>(note.size()));
  return raw.Build();
}

Bytes Raf(const Bytes& preview) {
  Bytes file = Ascii("FUJIFILMCCD-RAW 0201FF383501");
  file.resize(160, 0);
  PutU32(file, 84, 160, true);
  PutU32(file, 88, static_cast<std::uint32_t>(preview.size()), true);
  file.insert(file.end(), preview.begin(), preview.end());
  return file;
}

Bytes Cr3(const Bytes& preview, const Bytes& thumbnail) {
  const Bytes canonHeader{0x85, 0xC0, 0xB6, 0x87, 0x82, 0x0F, 0x11, 0xE0,
                          0x81, 0x11, 0xF4, 0xCE, 0x46, 0x2B, 0x6A, 0x48};
  const Bytes canonPreview{0xEA, 0xF4, 0x2B, 0x5E, 0x1C, 0x98, 0x4B, 0x88,
                           0xB9, 0xFB, 0xB7, 0xDC, 0x40, 0x6E, 0x4D, 0x16};
  TiffLayout ifd0Block;
  ifd0Block.Text(ifd0Block.AddDirectory(), 0x0110, "Canon EOS R6");
  Bytes thmb(16, 0);
  PutU32(thmb, 8, static_cast<std::uint32_t>(thumbnail.size()), true);
  thmb.insert(thmb.end(), thumbnail.begin(), thumbnail.end());
  Bytes prvw(16, 0);
  PutU32(prvw, 12, static_cast<std::uint32_t>(preview.size()), true);
  prvw.insert(prvw.end(), preview.begin(), preview.end());
  return Join({Box("ftyp", Ascii(std::string_view("crx \0\0\0\1crx isom", 16))),
               Box("moov", Box("uuid", Join({canonHeader, Box("CMT1", ifd0Block.Build()), Box("THMB", thmb)}))),
               Box("uuid", Join({canonPreview, Bytes(8, 0), Box("PRVW", prvw)})), Box("mdat", Bytes(64, 0))});
}

}  // namespace

Text PictureFilesFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path.resize(path.find_last_of(L'\\'));
  const Text folder = WideToGb18030(path + L"\\picture_files");
  return testing_support::Exists(Concat(folder, "\\made")) ? folder : Text();
}

std::vector<RawFile> WriteRawFiles(const Text& folder, const std::string& previewFile, const std::string& thumbnailFile,
                                   std::uint32_t rgb) {
  const Bytes preview = BytesOf(previewFile);
  const Bytes thumbnail = BytesOf(thumbnailFile);
  Put(folder, "shot.cr2", Cr2(preview, thumbnail));
  Put(folder, "shot.nef", Nef(preview, rgb));
  Put(folder, "shot.arw", Arw(preview, thumbnail));
  Put(folder, "shot.dng", Dng(preview, rgb));
  Put(folder, "shot.orf", Orf(preview));
  Put(folder, "shot.pef", Pef(preview, thumbnail));
  Put(folder, "shot.rw2", Rw2(preview));
  Put(folder, "shot.raf", Raf(preview));
  Put(folder, "shot.cr3", Cr3(preview, thumbnail));
  return {{"shot.cr2", true}, {"shot.nef", true}, {"shot.arw", true}, {"shot.dng", true}, {"shot.orf", false},
          {"shot.pef", true}, {"shot.rw2", false}, {"shot.raf", false}, {"shot.cr3", true}};
}

}  // namespace tarnwell::testing
