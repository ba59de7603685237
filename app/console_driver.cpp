#include "console_driver.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <locale>

#include "draw_analyzer.h"
#include "number_parser.h"
#include "print_numbers.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace {

enum class PickInput { kNumber, kInvalid, kLineEnd, kEnded };

bool isSeparator(char ch, const std::locale& locale) {
  return ch == ',' || std::isspace(ch, locale);
}

// Reads up to the next token, or past the next line end, and takes that
// token as a pick. Picks are separated by white space or ','. A token that
// is not a whole 32-bit integer is refused; it is read to its end but not
// stored, so no token, however long, takes memory. The separator after a
// token is left unread.
PickInput readPick(std::istream& in, std::int32_t& pick) {
  using Traits = std::istream::traits_type;
  const std::locale locale = in.getloc();
  auto c = in.peek();
  for (; !Traits::eq_int_type(c, Traits::eof()); c = in.peek()) {
    const char ch = Traits::to_char_type(c);
    if (!isSeparator(ch, locale)) break;
    in.get();
    if (ch == '\n') return PickInput::kLineEnd;
  }
  if (Traits::eq_int_type(c, Traits::eof())) return PickInput::kEnded;
  NumberParser number;
  bool refused = false;
  for (; !Traits::eq_int_type(c, Traits::eof()); c = in.peek()) {
    const char ch = Traits::to_char_type(c);
    if (isSeparator(ch, locale)) break;
    in.get();
    if (!number.take(ch)) refused = true;
  }
  if (refused || !number.isWholeNumber() || !number.fits()) {
    return PickInput::kInvalid;
  }
  pick = number.value();
  return PickInput::kNumber;
}

// Fills `typ` in entry order. A refused token is skipped alone; a line that
// held one asks again once, when its end is read with picks still missing,
// or when the input ends first. Returns false when the input ends first.
bool readTicket(std::istream& in, std::ostream& out,
                DrawAnalyzer::Ticket& typ) {
  bool refusedOnLine = false;
  const auto askAgain = [&] {
    if (refusedOnLine) out << "Neplatne cislo, zadajte ho znova:" << std::flush;
    refusedOnLine = false;
  };
  for (std::size_t count = 0; count < typ.size();) {
    switch (readPick(in, typ[count])) {
      case PickInput::kNumber:
        ++count;
        break;
      case PickInput::kInvalid:
        refusedOnLine = true;
        break;
      case PickInput::kLineEnd:
        askAgain();
        break;
      case PickInput::kEnded:
        askAgain();
        return false;
    }
  }
  return true;
}

// The full path of the history, for a player who must see where keno
// looked: the working folder joined with the name, in the same code page
// as the name the file was opened by; the name alone when the folder is
// unknown.
std::string fullPath(const std::string& name) {
  std::string folder(4096, '\0');
#ifdef _WIN32
  const char separator = '\\';
  const bool absolute = !name.empty() && (name[0] == '\\' || name[0] == '/' ||
                                          (name.size() > 1 && name[1] == ':'));
  const bool known =
      _getcwd(&folder[0], static_cast<int>(folder.size())) != nullptr;
#else
  const char separator = '/';
  const bool absolute = !name.empty() && name[0] == '/';
  const bool known = getcwd(&folder[0], folder.size()) != nullptr;
#endif
  if (absolute || !known) return name;
  folder.resize(std::strlen(folder.c_str()));
  if (folder.empty() || folder.back() != separator) folder += separator;
  return folder + name;
}

// The phases of a run up to the frequency table; false when the input
// ended before five picks were read.
bool playRun(std::istream& in, std::ostream& out, DrawAnalyzer& keno) {
  out << "Keno - analyza historie zrebovani" << std::endl;
  // The player answers on the prompt's line, so it must be visible before
  // the first read.
  out << "Zadajte 5 typovanych cisel:" << std::flush;
  DrawAnalyzer::Ticket typ{};
  if (!readTicket(in, out, typ)) {
    out << std::endl << "Vstup sa skoncil pred zadanim 5 cisel." << std::endl;
    return false;
  }
  out << "Typovane:";
  printNumbers(typ.data(), kPickCount, false, out);
  out << std::endl;

  for (int play = 0; play < kPlayCount; ++play) keno.playDraw(typ, 0);
  keno.printReport();

  keno.rewindHistory();
  out << std::endl;
  out << "Najviac padane cisla od roku 1999 po rok 2012: " << std::endl;
  keno.printFrequencies(0);
  return true;
}

}  // namespace

int runKeno(std::istream& in, std::ostream& out, const std::string& historyPath,
            std::ostream& err, const AwaitEnter& awaitEnter) {
  DrawAnalyzer keno(false, out, historyPath);
  // Started inside a zip, or with the name hidden as keno10.csv.csv, the
  // path shows the player why.
  if (!keno.historyOpened()) {
    err << "Hladany subor: " << fullPath(historyPath) << std::endl;
  }
  const bool played = playRun(in, out, keno);

  // Told before the final wait, while a console window is still open.
  bool failed = false;
  if (keno.readFailed()) {
    err << "Chyba pri citani suboru " << historyPath << "." << std::endl;
    failed = true;
  } else if (played && keno.historyOpened() &&
             keno.historyDraws() < kPlayCount) {
    // The report still counts every play; the rest were made on empty draws.
    err << "Upozornenie: subor " << historyPath << " ma len "
        << keno.historyDraws() << " tahov; zvysnych "
        << kPlayCount - keno.historyDraws() << " hier sa hralo bez tahu."
        << std::endl;
  }
  if (!out.flush()) {
    err << "Chyba pri zapise vystupu." << std::endl;
    failed = true;
  }
  if (!played) {
    // A console window would close with the message on it.
    if (awaitEnter) awaitEnter();
    return 1;
  }

  // Whatever else was typed on the fifth pick's line is dropped, so the run
  // ends only on a fresh Enter.
  in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  in.get();
  return failed ? 1 : 0;
}
