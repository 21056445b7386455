// Pictures read from the resource folder (sample signature, fingerprint and barcode, hatch patterns).
// Each file is read once and shared; the cache is safe for any number of painting threads.
#pragma once

#include "platform/Picture.h"

#include <QString>

#include <optional>

class ResourcePictures
{
public:
    static constexpr const char *SignatureSample = "sign_sample.png";
    static constexpr const char *FingerprintSample = "fingerprints.png";
    static constexpr const char *BarcodeSample = "barcode_sample.png";
    static constexpr const char *NoImage = "no.png";
    static constexpr const char *HatchFolder = "Fill_Style_Image";

    // The picture at path (read on first use, then shared); nullopt when it cannot be read.
    static std::optional<Picture> load(const QString &path);
    // A sample picture in the resource folder.
    static std::optional<Picture> sample(const QString &resourcePath, const QString &fileName);
    // The hatch pattern "<resource>/Fill_Style_Image/<name>.png". A name that would leave the folder
    // ("/", "\\", leading ".") or is empty finds nothing.
    static std::optional<Picture> hatch(const QString &resourcePath, const QString &name);
};
