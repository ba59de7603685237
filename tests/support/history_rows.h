#ifndef KENO_TESTS_SUPPORT_HISTORY_ROWS_H_
#define KENO_TESTS_SUPPORT_HISTORY_ROWS_H_

#include <string>

inline const std::string kHeader =
    "Tah;Datum;Den;C1;C2;C3;C4;C5;C6;C7;C8;C9;C10;C11;C12;C13;C14;C15;C16;"
    "C17;C18;C19;C20\n";

// A well-formed history row: three leading fields, then `numbers`.
inline std::string historyRow(int id, const std::string& numbers) {
  return std::to_string(id) + ";01.01.1999;piatok;" + numbers + "\n";
}

// The twenty numbers first, first + step, ... as a row's number fields.
inline std::string numberRun(int first, int step = 1) {
  std::string fields = std::to_string(first);
  for (int i = 1; i < 20; ++i) fields += ";" + std::to_string(first + i * step);
  return fields;
}

#endif  // KENO_TESTS_SUPPORT_HISTORY_ROWS_H_
