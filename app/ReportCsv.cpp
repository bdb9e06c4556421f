#include "app/ReportCsv.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "common/Format.h"
#include "common/StrTable.h"

namespace {

void Row(std::string& csv, const std::string& table, const char* measure, const std::string& count,
         const std::string& value, const std::string& related) {
  csv += CsvField(table) + ',' + measure + ',' + count + ',' + CsvField(value) + ',' +
         CsvField(related) + "\r\n";
}

void Measure(std::string& csv, const std::string& table, const char* measure,
             const TReportMeasure& counted) {
  Row(csv, table, measure, std::to_string(counted.Count), {}, {});
  for (const auto& [value, related] : counted.Samples) Row(csv, table, measure, {}, value, related);
}

void Table(std::string& csv, const TTableReport& table, const TFileCheck& files) {
  Row(csv, table.Table, "examined", std::to_string(table.Examined), {}, {});
  if (table.Width) Row(csv, table.Table, "column_width", std::to_string(*table.Width), {}, {});
  Measure(csv, table.Table, "will_change", table.WillChange);
  Measure(csv, table.Table, "already_new", table.AlreadyNew);
  Measure(csv, table.Table, "rerun_hazard", table.RerunHazard);
  Measure(csv, table.Table, "too_long", table.TooLong);
  if (!files.Enabled) return;
  Measure(csv, table.Table, "old_file_missing", table.OldFileMissing);
  if (!files.NewRoot.empty()) Measure(csv, table.Table, "new_file_present", table.NewFilePresent);
}

[[noreturn]] void Fail(const std::string& path, int error) {
  throw std::runtime_error(Format(LoadStr(64863), {path, std::string(std::strerror(error))}));
}

}  // namespace

std::string CsvField(const std::string& field) {
  const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string PreflightReportCsv(const TPreflightReport& report, const std::string& oldPath,
                               const std::string& newPath) {
  std::string csv = "table,measure,count,value,related\r\n";
  Row(csv, {}, "new_under_old", report.NewUnderOld ? "1" : "0", oldPath, newPath);
  Table(csv, report.Docs, report.Files);
  Table(csv, report.Cards, report.Files);
  return csv;
}

void WritePreflightReportCsv(const std::string& path, const TPreflightReport& report,
                             const std::string& oldPath, const std::string& newPath) {
  const std::string csv = PreflightReportCsv(report, oldPath, newPath);
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0664);
  if (fd < 0) Fail(path, errno);
  int error = 0;
  for (size_t written = 0; error == 0 && written < csv.size();) {
    const ssize_t n = ::write(fd, csv.data() + written, csv.size() - written);
    if (n < 0 && errno != EINTR) error = errno;
    if (n > 0) written += static_cast<size_t>(n);
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    Fail(path, error);
  }
}
