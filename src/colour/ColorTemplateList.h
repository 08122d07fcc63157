#pragma once

#include "colour/ColorTemplate.h"

#include <QString>

#include <vector>

// An ordered list of copy templates, held by value: copying a list copies its templates, and a
// list replaced by another takes its old templates with it, so nothing can keep pointing into a
// list that was swapped out.
class TColorTemplateList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool isEmpty() const { return FItems.empty(); }
    // index must be within 0 to Count() - 1.
    const TColorTemplate& at(int index) const { return FItems[static_cast<std::size_t>(index)]; }
    TColorTemplate& at(int index) { return FItems[static_cast<std::size_t>(index)]; }

    // Appends a template with the defaults (empty texts, hex on, maxima 0) and returns it.
    TColorTemplate& AddNew();
    void Append(const TColorTemplate& tmpl);
    // Before index; below 0 counts as 0, at or past the end appends.
    void InsertAt(int index, const TColorTemplate& tmpl);
    // Out-of-range indexes do nothing.
    void RemoveAt(int index);
    // Moves one template to another place, the others closing up; out-of-range does nothing.
    void Move(int from, int to);
    void Clear() { FItems.clear(); }

    // Replaces the list by the templates of the file; on any failure the text is returned (empty
    // on success). A file that cannot be read leaves the list as it was. A line with a maximum
    // that is not an integer is kept with the fields read before it, and the lines after it are
    // still read; the text of the first such line is returned.
    QString LoadFromFile(const QString& path);
    // Replaces the file as a whole; on failure the old file stays and the reason is returned
    // (empty on success).
    QString SaveToFile(const QString& path) const;

    std::vector<TColorTemplate>::const_iterator begin() const { return FItems.begin(); }
    std::vector<TColorTemplate>::const_iterator end() const { return FItems.end(); }

    friend bool operator==(const TColorTemplateList&, const TColorTemplateList&) = default;

private:
    std::vector<TColorTemplate> FItems;
};

// Append the built-in templates of each kind.
void BuildDefaultRgbTemplates(TColorTemplateList& list);
void BuildDefaultHslTemplates(TColorTemplateList& list);
void BuildDefaultTemplates(TTemplateKind kind, TColorTemplateList& list);
