#include "canvas/ui/CanvasHost.h"

#include "foundation/DataRoot.h"
#include "foundation/MessageBoxes.h"
#include "model/ModelGlobals.h"
#include "model/ModelHost.h"
#include "paint/ResourcePictures.h"

namespace
{
Picture sample(const char *name)
{
    return ResourcePictures::sample(Resource_Path, QString::fromLatin1(name)).value_or(Picture());
}
} // namespace

QPointF CanvasHost::Control_New_Point(const QString &side)
{
    return ModelGlobals::instance().host().Control_New_Point(side);
}

Picture CanvasHost::no_image() const
{
    return sample(ResourcePictures::NoImage);
}

Picture CanvasHost::barcode_sample_img() const
{
    return sample(ResourcePictures::BarcodeSample);
}

Picture CanvasHost::sign_sample_img() const
{
    return sample(ResourcePictures::SignatureSample);
}

Picture CanvasHost::fp_sample_img() const
{
    return sample(ResourcePictures::FingerprintSample);
}

void CanvasHost::presentError(const QString &message)
{
    Show_MessageBox(message);
}
