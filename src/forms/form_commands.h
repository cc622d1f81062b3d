// The ICS forms' commands: the net a form is made from (today's, or a past log picked through
// the log chooser), and the form written as a PDF beside the log, printed, or its rows saved
// as CSV. The dialog that asks for the header fields calls these.
#pragma once

#include <string>

#include "forms/ics_forms.h"
#include "net/session.h"

namespace kelpie {

// The box titles of the two forms.
std::string formTitle(IcsForm form);

// Today's list as the session holds it, with the loggers present on a shared net.
FormNet todaysNet(const Session& s);
// A stored log with its times file and side file, read as the export reads it (a station is
// a first-timer when the roster's first check-in date is the net's date). False (the operator
// told why) when the log cannot be read.
bool readPastNet(Session& s, const fs::path& path, FormNet& net);
// The log chooser, then readPastNet; the chosen log is today's log: today's net. False on a
// cancel or an unreadable log.
bool choosePastNet(Session& s, FormNet& net);

// What the dialog says about the net picked: empty, or that the log has no times at all.
std::string netNote(const FormNet& net);

struct FormJob {
  IcsForm form = IcsForm::Log309;
  FormNet net;
  FormHeader header;
};
// The form's pages, laid out for the printer's paper.
Sheet formSheet(const FormJob& job, Clock& clock, FormPrinter& printer);

// "Save PDF": the form as "<log name> ICS-309.pdf" (or ICS-214) in the log folder, never over an
// existing file without asking, then opened with the desktop's viewer. The path, or empty text
// when nothing was written.
std::string saveFormPdf(Session& s, FormPrinter& printer, const FormJob& job);
bool printForm(Session& s, FormPrinter& printer, const FormJob& job);
// "Save CSV" (309): its rows beside the log as "<log name> ICS-309.csv".
std::string saveFormCsv(Session& s, const FormJob& job);

}  // namespace kelpie
