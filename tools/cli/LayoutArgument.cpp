#include "LayoutArgument.h"

#include "core/Files.h"
#include "core/TextCodec.h"

namespace tovani::cli {

LayoutLoad LoadLayoutArgument(const std::string& argument, std::string& error) {
    std::string path;
    if (FileExists(argument)) {
        path = argument;
    } else {
        std::string dir = JoinPath(ContentDirectory(), "Layouts");
        LayoutCatalog catalog = LayoutCatalog::Scan(dir);
        int n = catalog.NumberOf(argument);
        // "Traditional.lay" names the same layout as "Traditional".
        for (int i = 1; n == 0 && i <= catalog.Count(); ++i)
            if (EqualsNoCase(catalog.Entry(i)->fileName, argument))
                n = i;
        if (n == 0) {
            error = "no layout file or shipped layout named \u201C" + argument + "\u201D";
            LayoutLoad none;
            return none;
        }
        path = catalog.PathOf(n);
    }
    // An empty catalog: no "Traditional" to fall back on, so a wrong version is an error.
    LayoutLoad load = LoadLayoutFile(path, LayoutCatalog());
    if (!load.ok)
        error = LayoutErrorMessage(load.error);
    return load;
}

} // namespace tovani::cli
