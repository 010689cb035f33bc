// Fixture files for tests: texts written as UTF-8 in the test source become
// CP866 files in a fresh temporary working directory.
#pragma once

#include <string>

// CP866 bytes of a UTF-8 text, and back (through the C library's iconv).
std::string toCp866(const std::string& utf8);
std::string toUtf8(const std::string& cp866);

// Makes a fresh temporary directory the working directory for its lifetime
// and removes it afterwards.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::string& path() const { return path_; }

    // Writes `utf8` converted to CP866 into the file `name` of the directory.
    void write(const std::string& name, const std::string& utf8) const;
    // Writes the bytes unchanged.
    void writeBytes(const std::string& name, const std::string& bytes) const;
    // The file's bytes; empty when it does not exist.
    std::string read(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};
