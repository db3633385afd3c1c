#include "utility_files.h"

#include <algorithm>
#include <filesystem>

#include "macros/macro_store.h"

namespace ombrisk::ctl {
namespace {

std::filesystem::path fsPath(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

void removeFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(fsPath(path), ignored);
}

bool sameSectionName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

bool hasSection(const std::vector<std::string>& sections, std::string_view name) {
  return std::any_of(sections.begin(), sections.end(), [&](const std::string& s) { return sameSectionName(s, name); });
}

std::string errorText(const std::string& path, int errorCode) {
  return path + " could not be written (error " + std::to_string(errorCode) + ")";
}

// A file's new contents, made through the profile store on a scratch copy beside it.
class ScratchCopy {
 public:
  ScratchCopy(const std::string& path, FileIo& io, bool startEmpty) : path_(path + ".ombriskctl-new"), io_(io) {
    removeFile(path_);
    if (startEmpty) return;
    if (const auto bytes = io.readAll(path)) {
      int errorCode = 0;
      if (!io.replaceAtomically(path_, *bytes, errorCode)) error_ = errorText(path_, errorCode);
    }
  }
  ~ScratchCopy() { removeFile(path_); }
  ScratchCopy(const ScratchCopy&) = delete;
  ScratchCopy& operator=(const ScratchCopy&) = delete;

  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }
  // What the store made of it; a file it never wrote holds only the UTF-16 byte-order mark,
  // as the store starts every file it creates.
  std::vector<std::uint8_t> contents() const { return io_.readAll(path_).value_or(std::vector<std::uint8_t>{0xFF, 0xFE}); }

 private:
  std::string path_;
  FileIo& io_;
  std::string error_;
};

struct Replacement {
  std::string path;
  std::vector<std::uint8_t> bytes;
};

}  // namespace

ButtonLabelSet UtilityFiles::interfaceLabels() const {
  for (const LanguageLabels& section : labels)
    if (section.language == language()) return section.labels;
  return {};
}

ButtonLabelSet& UtilityFiles::interfaceLabels() {
  for (LanguageLabels& section : labels)
    if (section.language == language()) return section.labels;
  labels.push_back({language(), {}});
  std::sort(labels.begin(), labels.end(), [](const LanguageLabels& a, const LanguageLabels& b) {
    return static_cast<int>(a.language) < static_cast<int>(b.language);
  });
  for (LanguageLabels& section : labels)
    if (section.language == language()) return section.labels;
  return labels.front().labels;  // not reached: the section was just added
}

DataPaths dataPathsIn(const std::string& dir, const std::string& executablePath) {
  if (dir.empty()) return dataPathsFromModule(executablePath);
  const char last = dir.back();
  return dataPathsFromModule(dir + (last == '/' || last == '\\' ? "" : "/") + "ombriskctl");
}

std::optional<UtilityFiles> readUtilityFiles(const DataPaths& paths, FileIo& io, ProfileStore& store,
                                             std::string& error) {
  if (!io.exists(paths.configBin)) {
    error = "no config.bin at " + paths.configBin;
    return std::nullopt;
  }
  UtilityFiles files;
  if (const auto bytes = io.readAll(paths.configBin); bytes && bytes->size() == kConfigFileSize) {
    files.configLoaded = true;
    files.firstRunFlag = (*bytes)[0];
    std::copy(bytes->begin() + 1, bytes->end(), files.record.bytes.begin());
  }
  files.languageCode = store.read(paths.strIni, "Skins", "Lan");
  const std::vector<std::string> sections = store.sectionNames(paths.strIni);
  for (const Language language : kLanguages) {
    if (!hasSection(sections, labelSection(language))) continue;
    LanguageLabels section{language, {}};
    readButtonLabels(store, paths.strIni, std::string(labelSection(language)), section.labels, files.skin);
    files.labels.push_back(std::move(section));
  }
  ButtonLabelSet unused;
  readButtonLabels(store, paths.strIni, std::string(labelSection(files.language())), unused, files.skin);
  for (const std::string& name : macroNames(store, paths.recordIni))
    files.macros.push_back({name, readMacroEntries(store, paths.recordIni, name)});
  return files;
}

std::string writeUtilityFiles(UtilityFiles& files, const DataPaths& paths, const FilesToWrite& which, FileIo& io,
                              ProfileStore& store) {
  std::vector<Replacement> replacements;

  if (which.recordIni || which.rebuildMacroBlocks) {
    ScratchCopy record(paths.recordIni, io, true);
    for (const MacroText& macro : files.macros) {
      store.write(record.path(), macro.name, kItemCountKey, std::to_string(macro.entries.size()));
      for (std::size_t i = 0; i < macro.entries.size(); ++i)
        store.write(record.path(), macro.name, macroItemKey(i), macro.entries[i]);
    }
    if (which.rebuildMacroBlocks) rebuildMacroMemory(store, record.path(), files.record);
    if (which.recordIni) replacements.push_back({paths.recordIni, record.contents()});
  }

  if (which.strIni) {
    ScratchCopy strIni(paths.strIni, io, false);
    if (!strIni.error().empty()) return strIni.error();
    store.write(strIni.path(), "Skins", "Lan", files.languageCode);
    writeSkinSettings(store, strIni.path(), files.skin);
    for (const Language language : kLanguages) {
      const auto section = std::find_if(files.labels.begin(), files.labels.end(),
                                        [&](const LanguageLabels& l) { return l.language == language; });
      const std::string name(labelSection(language));
      if (section == files.labels.end()) store.deleteSection(strIni.path(), name);
      else writeButtonLabels(store, strIni.path(), name, section->labels);
    }
    replacements.push_back({paths.strIni, strIni.contents()});
  }

  if (which.config) {
    std::vector<std::uint8_t> bytes{files.firstRunFlag};
    bytes.insert(bytes.end(), files.record.bytes.begin(), files.record.bytes.end());
    replacements.insert(replacements.begin(), {paths.configBin, bytes});
  }

  // The old contents, to put back when a later file cannot be replaced.
  std::vector<std::optional<std::vector<std::uint8_t>>> originals;
  for (const Replacement& r : replacements) originals.push_back(io.exists(r.path) ? io.readAll(r.path) : std::nullopt);
  for (std::size_t i = 0; i < replacements.size(); ++i) {
    int errorCode = 0;
    if (io.replaceAtomically(replacements[i].path, replacements[i].bytes, errorCode)) continue;
    for (std::size_t done = 0; done < i; ++done) {
      int ignored = 0;
      if (originals[done]) io.replaceAtomically(replacements[done].path, *originals[done], ignored);
      else removeFile(replacements[done].path);
    }
    return errorText(replacements[i].path, errorCode);
  }
  return {};
}

}  // namespace ombrisk::ctl
