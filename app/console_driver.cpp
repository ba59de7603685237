#include "console_driver.h"

#include <limits>
#include <locale>

#include "draw_analyzer.h"
#include "number_parser.h"
#include "print_numbers.h"

namespace {

enum class PickInput { kNumber, kInvalid, kEnded };

// Reads the next white-space separated token as a pick. A token that is not
// a whole 32-bit integer is refused; it is read to its end but not stored,
// so no token, however long, takes memory.
PickInput readPick(std::istream& in, std::int32_t& pick) {
  using Traits = std::istream::traits_type;
  in >> std::ws;
  if (Traits::eq_int_type(in.peek(), Traits::eof())) return PickInput::kEnded;
  NumberParser number;
  bool refused = false;
  for (auto c = in.peek(); !Traits::eq_int_type(c, Traits::eof());
       c = in.peek()) {
    const char ch = Traits::to_char_type(c);
    if (std::isspace(ch, in.getloc())) break;
    in.get();
    if (!number.take(ch)) refused = true;
  }
  if (refused || !number.isWholeNumber() || !number.fits()) {
    return PickInput::kInvalid;
  }
  pick = number.value();
  return PickInput::kNumber;
}

// Fills `typ` in entry order, asking again for each refused token. Returns
// false when the input ends first.
bool readTicket(std::istream& in, std::ostream& out,
                DrawAnalyzer::Ticket& typ) {
  for (std::int32_t& pick : typ) {
    for (;;) {
      const PickInput got = readPick(in, pick);
      if (got == PickInput::kNumber) break;
      if (got == PickInput::kEnded) return false;
      out << "Neplatne cislo, zadajte ho znova:" << std::flush;
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
  }
  return true;
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
            std::ostream& err) {
  DrawAnalyzer keno(false, out, historyPath);
  const bool played = playRun(in, out, keno);

  // Told before the final wait, while a console window is still open.
  bool failed = false;
  if (keno.readFailed()) {
    err << "Chyba pri citani suboru " << historyPath << "." << std::endl;
    failed = true;
  }
  if (!out.flush()) {
    err << "Chyba pri zapise vystupu." << std::endl;
    failed = true;
  }
  if (!played) return 1;

  // Whatever else was typed on the fifth pick's line is dropped, so the run
  // ends only on a fresh Enter.
  in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  in.get();
  return failed ? 1 : 0;
}
