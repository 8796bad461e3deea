// Prints how long the XML parameter parser takes on command lines of the largest possible
// size (32767 bytes), realistic and hostile, and how fast the INI reader gets through a file
// at its size cap of 1,000,000 bytes. Usage: parser_bench [seconds per figure, default 1].
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "ini/ini_document.h"
#include "xml/xml_document.h"

namespace {

constexpr size_t kCommandLineBytes = 32767;

double g_secondsPerFigure = 1.0;

// Runs `work` repeatedly for about g_secondsPerFigure and returns the mean seconds per run.
double SecondsPerRun(const std::function<void()>& work) {
  using Clock = std::chrono::steady_clock;
  work();  // warm-up
  long runs = 0;
  Clock::time_point start = Clock::now();
  double elapsed = 0;
  do {
    work();
    ++runs;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < g_secondsPerFigure);
  return elapsed / static_cast<double>(runs);
}

void Report(const char* what, size_t bytes, double seconds) {
  std::printf("%-44s %8zu bytes %10.1f us %9.1f MB/s\n", what, bytes, seconds * 1e6,
              static_cast<double>(bytes) / seconds / 1e6);
}

// Pads `text` before its last `tail` bytes with `filler` repeats, up to exactly `size` bytes.
std::string PadTo(std::string head, const std::string& filler, const std::string& tail,
                  size_t size) {
  while (head.size() + filler.size() + tail.size() <= size) head += filler;
  head.append(size - head.size() - tail.size(), ' ');
  return head + tail;
}

void BenchXml(const char* what, const std::string& text, bool expectParsed) {
  XmlDocument document;
  if (document.Parse(text.c_str()) != expectParsed) {
    std::printf("%s: unexpected parse result (error %d)\n", what, document.ErrorCode());
    std::exit(1);
  }
  Report(what, text.size(), SecondsPerRun([&] { document.Parse(text.c_str()); }));
}

void BenchXmlParameters() {
  // What a host sends, with a launch parameter as long as the command line allows.
  std::string launcher = PadTo(
      "<ZULAUNCHER_PARAM Command=\"run\" ProgramID=\"ViewerProgram\" SilentMessage=\"0\" "
      "SilentInstall=\"1\" AutoInstall=\"1\" RetWindowHandle=\"1312456\" ForceCheck=\"0\" "
      "CheckMinorVersion=\"1\" IniFileName=\"ZuLauncher.ini\" "
      "LocalVersionFilePath=\"_ZuVersion_temp_.ini\" "
      "VersionFileURL=\"http://update.example.com/ZuVersion.ini\" AgentName=\"ZuLauncher\" "
      "LaunchParam=\"",
      "-open &quot;C:\\Documents\\report 2024.txt&quot; -mode view ", "\"/>", kCommandLineBytes);
  BenchXml("xml: launcher parameter", launcher, true);

  // As many distinct attributes as fit: every one walks a chain of the 17-bucket map.
  std::string attributes = "<a";
  for (int i = 0; attributes.size() + 16 < kCommandLineBytes; ++i) {
    attributes += " " + std::to_string(i) + "=\"\"";
  }
  attributes = PadTo(attributes, " ", "/>", kCommandLineBytes);
  BenchXml("xml: distinct attributes (hostile)", attributes, true);

  std::string nesting;
  while (nesting.size() + 3 <= kCommandLineBytes) nesting += "<a>";
  BenchXml("xml: nesting past the depth limit (hostile)", nesting, false);

  // Every comment's closing "--" waits for its ">" behind all the comments that follow.
  size_t chained = (kCommandLineBytes - 7) / 8;
  std::string comments = "<a>";
  for (size_t i = 0; i < chained; ++i) comments += "<!--c--";
  comments += std::string(chained, '>') + "</a>";
  BenchXml("xml: chained comments (hostile)", comments, true);

  std::string text = PadTo("<a>", "word &amp; = -- ? / ", "</a>", kCommandLineBytes);
  BenchXml("xml: one long text run", text, true);
}

std::string MakeIni(size_t size) {
  std::string ini = "[GENERAL]\r\nVERSION_FILE_URL=http://update.example.com/ZuVersion.ini\r\n";
  for (int program = 0; ini.size() < size; ++program) {
    std::string id = std::to_string(program);
    ini += "\r\n; program " + id + "\r\n[PROGRAM_" + id + "]\r\n";
    ini += "VERSION = 3.14." + id + "\r\nMINORVERSION=" + id + "\r\n";
    ini += "URL=http://download.example.com/setup_" + id + ".exe ; installer\r\n";
    ini += "NAME = \"Viewer ; edition " + id + " \"\r\n";
    ini += "PATH_REG=HKEY_LOCAL_MACHINE\\SOFTWARE\\Example\\Viewer" + id + "\\InstallDir\r\n";
  }
  ini.resize(size);
  return ini;
}

void BenchIni() {
  std::string ini = MakeIni(kIniMaxFileBytes);
  IniDocument document;
  Report("ini: parse 1,000,000 bytes (narrow)", ini.size(),
         SecondsPerRun([&] { document.LoadBuffer(ini.data(), ini.size()); }));
  if (document.GetValue("program_7", "url", "").empty()) {
    std::printf("ini: the benchmark file did not parse\n");
    std::exit(1);
  }

  std::filesystem::path path = std::filesystem::temp_directory_path() / "zu_parser_bench.ini";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(ini.data(), static_cast<std::streamsize>(ini.size()));
  }
  std::string pathText = path.string();
  Report("ini: LoadFile 1,000,000 bytes (narrow)", ini.size(), SecondsPerRun([&] {
           if (!document.LoadFile(pathText.c_str())) std::exit(1);
         }));
  std::filesystem::remove(path);

  // The same text as UTF-16LE with its mark, cut to the size cap.
  std::string wide = "\xff\xfe";
  for (size_t i = 0; wide.size() + 2 <= kIniMaxFileBytes; ++i) {
    wide += ini[i];
    wide += '\0';
  }
  Report("ini: parse 1,000,000 bytes (UTF-16LE)", wide.size(),
         SecondsPerRun([&] { document.LoadBuffer(wide.data(), wide.size()); }));
  std::string utf8 = "\xef\xbb\xbf" + ini.substr(0, kIniMaxFileBytes - 3);
  Report("ini: parse 1,000,000 bytes (UTF-8 with mark)", utf8.size(),
         SecondsPerRun([&] { document.LoadBuffer(utf8.data(), utf8.size()); }));

  // Every header a new section: each is looked up among all the earlier ones.
  std::string sections;
  for (int i = 0; sections.size() < kIniMaxFileBytes; ++i) {
    sections += "[S" + std::to_string(i) + "]\nk=v\n";
  }
  sections.resize(kIniMaxFileBytes);
  Report("ini: distinct sections (hostile)", sections.size(),
         SecondsPerRun([&] { document.LoadBuffer(sections.data(), sections.size()); }));
  std::string oneLine = "[s]\n\"key\" = \"" + std::string(kIniMaxFileBytes - 16, 'v') + "\" ; x";
  oneLine.resize(kIniMaxFileBytes, ' ');
  Report("ini: one line of 1,000,000 bytes", oneLine.size(),
         SecondsPerRun([&] { document.LoadBuffer(oneLine.data(), oneLine.size()); }));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) g_secondsPerFigure = std::atof(argv[1]);
  if (g_secondsPerFigure <= 0) g_secondsPerFigure = 1.0;
  BenchXmlParameters();
  BenchIni();
  return 0;
}
