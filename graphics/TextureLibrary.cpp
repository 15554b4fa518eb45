#include "graphics/TextureLibrary.h"

#include "engine/TraceSystem.h"
#include "graphics/GraphicsSystem.h"
#include "graphics/LibraryEntries.h"

#include <GL/glew.h>

TextureLibrary& TextureLibrary::GetInstance()
{
    static TextureLibrary instance;
    if (instance.textures.empty())
        instance.AddDefaults();
    return instance;
}

void TextureLibrary::AddDefaults()
{
    for (const auto& [name, value] : {std::pair{"White", 255}, {"Black", 0}})
    {
        Texture texture(name);
        if (!texture.IsLoaded())
        {
            Log("Image Failed To Load");
            Log("TEXTURE: [", texture.Path(), "] cannot load (", texture.Reason(), "); using a built-in ",
                name, " picture");
            const unsigned char pixel[4] = {static_cast<unsigned char>(value),
                                            static_cast<unsigned char>(value),
                                            static_cast<unsigned char>(value), 255};
            texture = Texture(name, 1, 1, pixel);
        }
        textures.push_back(std::move(texture));
    }
}

int TextureLibrary::FindOrLoad(const std::string& name)
{
    if (name.empty())
        return -1;
    if (const int found = IndexOfName(textures, name); found >= 0)
        return found;
    Texture texture(name);
    if (!texture.IsLoaded())
    {
        Log("Image Failed To Load");
        Log("TEXTURE: [", texture.Path(), "] cannot load (", texture.Reason(), "); \"", name,
            "\" is drawn as White");
    }
    textures.push_back(std::move(texture));
    return static_cast<int>(textures.size()) - 1;
}

const std::string& TextureLibrary::GetName(int index) const { return NameAt(textures, index); }

bool TextureLibrary::IsFallback(int index) const
{
    return index >= 0 && index < Size() && !textures[static_cast<size_t>(index)].IsLoaded();
}

GLuint TextureLibrary::GlId(int index)
{
    if (index == -1)
        index = 0;
    if (index < 0 || index >= Size())
        return 0;
    Texture& texture = textures[static_cast<size_t>(index)];
    return texture.IsLoaded() ? texture.Id() : textures[0].Id();
}

const Texture* TextureLibrary::Drawn(int index) const
{
    if (index == -1)
        index = 0;
    if (index < 0 || index >= Size())
        return nullptr;
    const Texture& texture = textures[static_cast<size_t>(index)];
    return texture.IsLoaded() ? &texture : &textures[0];
}

void TextureLibrary::Clear()
{
    GraphicsSystem::GetInstance().IssueQueued();
    if (GraphicsSystem::GetInstance().HasContext())
    {
        glBindTexture(GL_TEXTURE_2D, 0);
        for (Texture& texture : textures)
            texture.Delete();
    }
    textures.clear();
}
