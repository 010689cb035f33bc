#include "support/fixtures.h"

#include <iconv.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string convert(const std::string& text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) throw std::runtime_error("text not convertible");
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::string toCp866(const std::string& utf8) {
    return convert(utf8, "UTF-8", "CP866");
}

std::string toUtf8(const std::string& cp866) {
    return convert(cp866, "CP866", "UTF-8");
}

TempWorkDir::TempWorkDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mwk-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

TempWorkDir::~TempWorkDir() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempWorkDir::write(const std::string& name, const std::string& utf8) const {
    writeBytes(name, toCp866(utf8));
}

void TempWorkDir::writeBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream file(path_ + "/" + name, std::ios::binary);
    file << bytes;
}

std::string TempWorkDir::read(const std::string& name) const {
    std::ifstream file(path_ + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
