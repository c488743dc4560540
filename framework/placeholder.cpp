// The plug-in framework.
