# SPDX-License-Identifier: MIT
"""Sphinx configuration of Velmora's documentation site (make docs).

The Python reference is read from the package's docstrings (numpydoc), so
the package with its built extension must be importable: make docs puts the
build's copy on PYTHONPATH.
"""

import quellis

project = "Velmora"
author = "The Velmora authors"
copyright = "The Velmora authors"
version = release = quellis.__version__

extensions = ["sphinx.ext.autodoc", "sphinx.ext.mathjax", "numpydoc"]
numpydoc_show_class_members = False
numpydoc_class_members_toctree = False
autodoc_default_options = {"members": True}
exclude_patterns = ["_build"]
html_theme = "alabaster"
html_static_path = []
