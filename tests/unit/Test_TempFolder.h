// A folder of one test's own in the temporary folder ($TMPDIR, else /tmp):
// its name is unique, as test runs may overlap on one machine, and it goes
// with everything in it when the object does.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

class CTestFolder {
 public:
  explicit CTestFolder(const std::string& prefix) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / (prefix + "XXXXXX")).string();
    if (!error && mkdtemp(pattern.data())) m_path = pattern;
  }
  ~CTestFolder() {
    std::error_code error;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, error);
  }
  CTestFolder(const CTestFolder&) = delete;
  CTestFolder& operator=(const CTestFolder&) = delete;

  // The folder, without a trailing '/'; empty when it could not be made.
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};
