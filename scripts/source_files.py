"""The project's own C++ files, for the checks in scripts/: every .h and .cpp below the
source folder, leaving out build folders (any folder holding a CMakeCache.txt), hidden
folders and the top-level folders a check names."""
import os


def source_files(root, skip_top_level):
    """Yields each file's path relative to root, in a stable order."""
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        dirnames[:] = sorted(
            d for d in dirnames
            if not d.startswith(".") and not d.startswith("build")
            and not os.path.exists(os.path.join(dirpath, d, "CMakeCache.txt"))
            and not (rel == "." and d in skip_top_level))
        for name in sorted(filenames):
            if name.endswith((".h", ".cpp")):
                yield os.path.normpath(os.path.join(rel, name))
