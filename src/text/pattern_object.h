#pragma once

// Takes a page apart with one regular expression in the VBScript dialect: one
// search keeps its matches readable by 1-based match and group index until the
// next search. Every failure reads as an empty result, never an exception.

#include "text/text.h"

#include <memory>

namespace mz {

class PatternObject {
  public:
    PatternObject();
    PatternObject(const PatternObject& other);
    PatternObject& operator=(const PatternObject&) = delete;
    virtual ~PatternObject();

    // True when the pattern ran (also when it found nothing); false when it could
    // not be compiled or ran past the engine's complexity limit.
    virtual bool search(const Text& pattern, const Text& subject, bool caseSensitive = false,
                        bool multiline = true, bool global = true, bool quotePlaceholder = false);
    virtual void nop();
    virtual Text patternText() const;
    virtual Text replace(const Text& replacement) const;
    virtual int matchCount() const;
    virtual Text matchText(int match, int* position = nullptr) const;
    virtual Text submatchText(int match, int group, int* position = nullptr) const;
    virtual int submatchCount() const;

  private:
    struct Results;

    void initialize();
    void release();
    // Text of match i (group 0) or of one of its groups; i counts from 1.
    Text spanText(int match, int group, int* position) const;

    std::shared_ptr<const Results> results_; // shared with copies, like the component's
    Text subject_;
};

} // namespace mz
