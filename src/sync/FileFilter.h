// The file filter of a run: masks separated by ";", each a pattern for file names.
#pragma once

#include <QString>
#include <QStringList>

namespace Sync {

class TFileFilter {
  public:
    // Splits the filter at ";" as runs always have: blanks around a mask are part of it, an
    // empty mask finds nothing, and nothing follows a final ";".
    explicit TFileFilter(const QString& filter);

    // False when the filter holds no mask at all (only ";" and blanks) or a mask with a path
    // delimiter: masks are names, and a path would reach files outside the pair.
    bool IsValid() const;

    bool Matches(const QString& name) const;

  private:
    QStringList masks_;
    bool matchesAll_ = false;
};

}  // namespace Sync
