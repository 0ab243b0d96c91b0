// This level is filled by its own module.
namespace lumivant_render {
int Level()
{
    return 1;
}
} // namespace lumivant_render
