#include "tools/DemoData.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<const char*, 16> kCompanies = {
    "Cohen Trading Ltd",  "ACME Industries",    "levi brothers",   "Mizrahi & Sons",
    "Galil Software",     "BLUE SKY TRAVEL",    "Negev Solar",     "Haifa Port Services",
    "כהן ובניו",          "אלקטרה שירותים",     "Tel Aviv Realty", "Orion Medical",
    "Shapira Law Office", "green valley farms", "מוסך הדר",        "Delta Logistics"};

constexpr std::array<const char*, 8> kSubjects = {
    "Contracts", "INVOICES", "correspondence", "Quotes", "Support", "חוזים", "Scans", "HR"};

constexpr std::array<const char*, 12> kFiles = {"Letter to client %04lld.docx",
                                                "INV-2023-%06lld.PDF",
                                                "scan_%05lld.tif",
                                                "Quote %lld rev B.xlsx",
                                                "Meeting Notes %lld.txt",
                                                "חוזה שכירות %lld.docx",
                                                "הצעת מחיר %lld.pdf",
                                                "Contract_%lld_signed.pdf",
                                                "Email %lld.msg",
                                                "Drawing-%lld.DWG",
                                                "photo %lld.JPG",
                                                "Summary %lld.odt"};

// A cheap, fixed mix of the number, so neighbouring records differ.
uint64_t Mix(int64_t n) {
  uint64_t x = static_cast<uint64_t>(n) * 0x9E3779B97F4A7C15ull;
  return x ^ (x >> 29);
}

std::string Printf(const char* pattern, long long value) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

std::string DemoCompany(int64_t card) {
  std::string name = kCompanies[(card - 1) % kCompanies.size()];
  if (card > static_cast<int64_t>(kCompanies.size()))
    name += " " + std::to_string((card - 1) / kCompanies.size() + 1);
  return name;
}

std::string DemoCardId(int64_t card) {
  return Printf("C%09lld", card);
}

std::optional<std::string> DemoDocumentPath(const std::string& docsFolder, int64_t doc,
                                            int64_t cards) {
  uint64_t mix = Mix(doc);
  int64_t card = cards > 0 ? static_cast<int64_t>(mix % cards) + 1 : 1 + doc % 16;
  std::string rest = DemoCompany(card) + "\\" + std::to_string(2015 + (mix >> 8) % 10) + "\\" +
                     kSubjects[(mix >> 16) % kSubjects.size()] + "\\" +
                     Printf(kFiles[(mix >> 24) % kFiles.size()], doc);
  switch (doc % 50) {
    case 7:
      return std::nullopt;  // no file attached
    case 19:
      return std::string();
    case 23:
      // Kept on another server, or every other time, under the documents folder's second
      // spelling.
      if (auto second = DemoSecondSpelling(docsFolder); second && doc / 50 % 2 == 1)
        return *second + "\\" + rest;
      return "\\\\FILESRV01\\Scans\\" + rest;
    case 31:
      return "D:\\Archive\\" + rest;  // another drive
    case 37:
      return Lower(docsFolder) + "\\" + rest;  // typed in lower case long ago
    default:
      return docsFolder + "\\" + rest;
  }
}

std::optional<std::string> DemoSecondSpelling(const std::string& docsFolder) {
  const bool drivePath = docsFolder.size() >= 3 && docsFolder[1] == ':' && docsFolder[2] == '\\';
  if (!drivePath) return std::nullopt;
  return "\\\\fs1\\" + docsFolder.substr(0, 1) + "$" + docsFolder.substr(2);
}

std::string DemoShortName(const std::string& path) {
  auto cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::optional<std::string> DemoCardFolder(const std::string& docsFolder, int64_t card) {
  std::string company = DemoCompany(card);
  switch (card % 20) {
    case 0:
      return std::nullopt;
    case 1:
      return std::string();
    case 2:
      return docsFolder;  // the documents folder itself
    case 3:
      return docsFolder + "\\";
    case 4:
      return "D:\\OtherDocs\\" + company;  // under another folder on another drive
    case 5:
      return docsFolder + "2\\" + company;  // a neighbouring folder with a longer name
    case 6:
      return "\\\\FILESRV01\\Cards\\" + company + "\\";
    case 9:
      return Lower(docsFolder) + "\\" + company + "\\";
    default:
      return docsFolder + "\\" + company;
  }
}
