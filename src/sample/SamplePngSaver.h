#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

// The sample window's PNG saves as commands: the name each save goes to (the next free number
// after the last picture saved, or one the user chooses, with ".png" forced and a replace of a
// different file confirmed), the write, and the reports of a failure or of nothing to save. The
// last name survives the program in the user's store. Which picture a save holds is the window's
// business: it is asked for only once the name is settled.
class TSamplePngSaver {
public:
    // A picture to save and whether its alpha is kept; a null image means there is nothing to
    // save.
    struct TPicture {
        QImage image;
        bool withAlpha = false;
    };
    // Given the folder to start in, the chosen path, or empty for a cancel.
    using TChooser = std::function<QString(const QString& folder)>;
    using TPictureSource = std::function<TPicture()>;

    // Questions and reports are shown over `boxParent`.
    explicit TSamplePngSaver(QWidget* boxParent) : FBoxParent(boxParent) {}

    // The last name saved to (read from the store by the first save).
    const QString& path() const { return FPngPath; }

    // Saves under the next free name after the last one and never replaces a file, also one
    // made meanwhile; asks for a name only when there is no last name.
    void saveNumbered(const TChooser& choose, const TPictureSource& picture);
    // Saves under a name the user chooses.
    void saveAs(const TChooser& choose, const TPictureSource& picture);

private:
    void readPngPath();
    QString askName(const TChooser& choose);
    void save(const TPictureSource& picture, const QString& name, bool newOnly);

    QWidget* FBoxParent = nullptr;
    QString FPngPath;
};
