// This level is filled by its own module.
namespace lumivant_comm {
int Level()
{
    return 1;
}
} // namespace lumivant_comm
