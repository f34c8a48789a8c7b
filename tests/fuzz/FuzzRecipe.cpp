// The Global Edit recipe reader over any text: a recipe, or std::invalid_argument with a message
// of a few lines, never a crash (deep nesting included); a recipe read is written back the same.
#include "globaledit/Recipe.h"

#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const tavrel::GlobalEditRecipe recipe = tavrel::ParseRecipe(text);
        if (!(tavrel::ParseRecipe(tavrel::RecipeText(recipe)) == recipe))
            std::abort();
    } catch (const std::invalid_argument& e) {
        if (std::string_view(e.what()).size() > 400)
            std::abort();
    }
    return 0;
}
