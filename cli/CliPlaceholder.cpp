// Replaced by the command-line front end.
namespace quarvel {
int cliPlaceholder()
{
    return 0;
}
} // namespace quarvel
