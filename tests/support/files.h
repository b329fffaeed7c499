// Whole files as text, and a temporary directory removed with its contents.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a command writes on standard output.
inline std::string output_of(const std::string &command) {
  std::string text;
  if (FILE *pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

// The four setup files of the site in `dir`, one after the other.
inline std::string setup_files(const std::string &dir) {
  std::string all;
  for (const char *name : {"setup_ant.conf", "setup_dsp.conf", "setup_rtdisp.conf", "setup_zamo.conf"})
    all += read_file(dir + "/" + name);
  return all;
}

// "- LINE / + LINE" for each line that differs between two texts.
inline std::string differing_lines(const std::string &first, const std::string &second) {
  std::stringstream a(first), b(second);
  std::string differ, x, y;
  while (std::getline(a, x) && std::getline(b, y))
    if (x != y) differ += "- " + x + "\n+ " + y + "\n";
  return differ;
}

inline void write_file(const std::string &path, const std::string &text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

struct TempDir {
  std::string path;
  TempDir() {
    char name[] = "/tmp/setup-test-XXXXXX";
    path = mkdtemp(name);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string operator/(const std::string &name) const { return path + "/" + name; }
};
