#include "gallery_command.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "contact_sheet.h"
#include "png_file.h"
#include "raw_picture.h"

namespace qzprx {
namespace {

struct Entry {
  std::string name;
  std::string group;
  std::string label;
};

std::vector<Entry> ReadManifest(const std::string& path) {
  std::vector<Entry> entries;
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    Entry entry;
    if (std::getline(fields, entry.name, '\t') && std::getline(fields, entry.group, '\t') &&
        std::getline(fields, entry.label)) {
      entries.push_back(entry);
    }
  }
  return entries;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') {
      out += "&lt;";
    } else if (c == '&') {
      out += "&amp;";
    } else {
      out += c;
    }
  }
  return out;
}

// The screenshots keep the window's pixels; the byte above red carries no colour, so the PNG
// files are made opaque to be seen as the player sees them.
Picture Opaque(std::vector<uint32_t> pixels, int32_t width, int32_t height) {
  for (auto& pixel : pixels) pixel |= 0xFF000000;
  return {width, height, std::move(pixels)};
}

void WritePage(const std::string& directory, const std::vector<Entry>& entries,
               const std::vector<std::string>& groups) {
  std::ofstream page(directory + "/index.html");
  page << "<!doctype html>\n<meta charset=\"utf-8\">\n<title>QZ_PRX play-through</title>\n"
       << "<style>body{font-family:sans-serif;background:#202020;color:#eee}"
       << "figure{display:inline-block;margin:8px}img{max-width:640px;border:1px solid #555}"
       << "pre{background:#111;padding:8px}</style>\n<h1>QZ_PRX play-through</h1>\n";
  for (const std::string& group : groups) {
    page << "<h2>" << Escaped(group) << "</h2>\n<p><a href=\"sheet-" << group
         << ".png\"><img src=\"sheet-" << group << ".png\" alt=\"contact sheet\"></a></p>\n";
    for (const Entry& entry : entries) {
      if (entry.group != group) continue;
      page << "<figure><a href=\"" << entry.name << ".png\"><img src=\"" << entry.name
           << ".png\" alt=\"" << Escaped(entry.label) << "\"></a><figcaption>"
           << Escaped(entry.label) << "</figcaption></figure>\n";
    }
  }
  page << "<h2>Log</h2>\n<pre>";
  std::ifstream log(directory + "/log.txt");
  std::string line;
  while (std::getline(log, line)) page << Escaped(line) << "\n";
  page << "</pre>\n";
}

}  // namespace

int RunGallery(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) {
    std::fprintf(stderr, "usage: qzprx gallery DIR\n");
    return 2;
  }
  const std::string& directory = arguments[0];
  const std::vector<Entry> entries = ReadManifest(directory + "/manifest.txt");
  if (entries.empty()) {
    std::fprintf(stderr, "qzprx gallery: no pictures listed in %s/manifest.txt\n",
                 directory.c_str());
    return 2;
  }
  std::map<std::string, std::vector<SheetEntry>> sheets;
  std::vector<std::string> groups;
  for (const Entry& entry : entries) {
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    const std::string raw = directory + "/" + entry.name + ".raw";
    if (!tools::ReadRawPicture(raw, pixels, width, height)) {
      std::fprintf(stderr, "qzprx gallery: %s is not a raw picture\n", raw.c_str());
      return 2;
    }
    const Picture picture = Opaque(std::move(pixels), width, height);
    std::string error;
    if (!WritePng(directory + "/" + entry.name + ".png", picture, error)) {
      std::fprintf(stderr, "qzprx gallery: %s\n", error.c_str());
      return 2;
    }
    std::remove(raw.c_str());
    if (sheets.find(entry.group) == sheets.end()) groups.push_back(entry.group);
    sheets[entry.group].push_back({entry.label, picture});
  }
  for (const std::string& group : groups) {
    std::string error;
    const std::string path = directory + "/sheet-" + group + ".png";
    if (!WritePng(path, ContactSheet(sheets[group], 400, 300), error)) {
      std::fprintf(stderr, "qzprx gallery: %s\n", error.c_str());
      return 2;
    }
  }
  WritePage(directory, entries, groups);
  std::printf("%s/index.html: %zu pictures in %zu groups\n", directory.c_str(), entries.size(),
              groups.size());
  return 0;
}

int RunRaw(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) {
    std::fprintf(stderr, "usage: qzprx raw FRAME.png OUT.raw\n");
    return 2;
  }
  Picture picture;
  std::string error;
  if (!ReadPng(arguments[0], picture, error)) {
    std::fprintf(stderr, "qzprx raw: %s\n", error.c_str());
    return 2;
  }
  if (!tools::WriteRawPicture(arguments[1], picture.pixels.data(), picture.width, picture.height,
                              picture.width)) {
    std::fprintf(stderr, "qzprx raw: cannot write %s\n", arguments[1].c_str());
    return 2;
  }
  return 0;
}

}  // namespace qzprx
