#pragma once
// Commands that change several table files, kept whole across a crash.
//
// Each store makes its own writes atomic, but nothing spans two table files.  So a command
// that changes several tables computes every later step's target values first and records
// them, as JSON in the small table "corvanta_command" beside the table of its first post
// (in its file, or in its database on a server), in the same transaction as that post: the
// post and the plan are stored together or not at all.  Each later step stores its mark
// ("corvanta_step") in the same transaction as its own write, beside the table it changes.
// The stores write and read these rows (TableStore's CommandRows); this file only decides
// what they hold.  After a crash, finishInterruptedCommands() finds
// every plan whose steps are not all marked and carries out the missing ones (each with
// its mark, so that running it twice does no harm): the command ends as if the program had
// not stopped.  A command whose first post was not stored left nothing to undo.
//
// The plan of a completed command is removed by the next recorded write to its store, so
// the recording costs no extra transaction (and no extra wait for the disk) per command;
// its marks in other stores stay until the next start removes them, after the plan is gone
// (a mark removed first would make a finished step look undone).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/engine/Engine.h"
#include "data/engine/Table.h"

namespace corvanta {

// A later step of a command: fields of one stored record set to values, the record
// deleted, or a new record with these fields inserted (rowid unused).  An insert whose key
// a stored record holds already is left out when finishing: nothing is stored twice.
struct PlannedUpdate {
  std::string table;  // the table's name ("stock.db")
  std::int64_t rowid = 0;
  std::vector<std::pair<std::string, Value>> fields;
  std::string what;  // for the person: "the quantity in stock of A100"
  bool remove = false;
  bool insert = false;
  // What running figures (stock quantities) held when the target was worked out.  A step
  // carried out at the next start moves such a field by the difference instead of setting
  // it, so that what another workstation sold of the same item meanwhile is not undone.
  std::vector<std::pair<std::string, Value>> from = {};
};

// The value a float field stores for a text typed into it (empty for the empty text).
Value floatOfText(std::string_view text);

class CommandRecord {
 public:
  // `name` is the command as the person knows it ("Continue"), `detail` what it was about.
  CommandRecord(std::string name, std::string detail);
  // Closes the command: its plan goes with the next recorded write to its file.  A step
  // that failed while the program runs was shown then, and is not carried out later.
  ~CommandRecord();
  CommandRecord(const CommandRecord&) = delete;
  CommandRecord& operator=(const CommandRecord&) = delete;

  // Plans a later step (before the first post); returns its number, from 1.
  int plan(PlannedUpdate step);
  // The plan goes with the table's next post or delete.
  void recordWithFirstPost(Table& table);
  // Step n's mark goes with the table's next post or delete.
  void markWithPost(Table& table, int n);

  // Whether commands record their steps: always, except while a benchmark measures what the
  // recording costs (a command run without it is not finished after a crash).
  static void setRecording(bool on);

 private:
  std::int64_t id_;
  std::string name_, detail_;
  std::vector<PlannedUpdate> steps_;
  std::vector<std::string> stores_;  // every store this command wrote a row to
};

// Carries out the missing steps of every command a crash cut short, in the tables of the
// engine's aliases, and removes the records of finished ones.  Returns one message per
// command that needed finishing, for the person.  Run before the tables are opened.  On a
// database server it finishes only the commands of workstations that no longer run.
std::vector<std::string> finishInterruptedCommands(const Engine& engine);

}  // namespace corvanta
