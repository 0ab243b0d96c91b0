// The controller model and scan-mode tables live in this level.
namespace lumivant_config {
int Level()
{
    return 1;
}
} // namespace lumivant_config
