// The shell's association of .pdf in the test prefix. A test changes it
// through this guard, which puts it back at the end; a run killed before that
// leaves a saved copy, and the next guard puts that back first.
#pragma once
#include <string>

namespace e2e {

class PdfAssociation {
 public:
  PdfAssociation();
  PdfAssociation(const PdfAssociation&) = delete;
  PdfAssociation& operator=(const PdfAssociation&) = delete;
  ~PdfAssociation();
  // .pdf opens with `recorder "record" "%1"`.
  bool use_recorder(const std::string& recorder, const std::string& record);
  // No program is associated with .pdf.
  bool remove();
  bool saved() const { return saved_; }

 private:
  bool saved_ = false;
};

}  // namespace e2e
