// The solver parameter of the job files and the solver's refinement factor it stands for.
#ifndef VELA_JOBS_SOLVERPARAMETER_H
#define VELA_JOBS_SOLVERPARAMETER_H

/// The profile page's solver parameter (50 to 1000, default 75) is fifteen times the solver's
/// refinement factor: 75 gives the solver's own default of 5, while 75 handed over literally
/// would make a single forward run take tens of seconds.
constexpr float SolverParameterPerRefinement = 15.0f;

/// The refinement factor the engine is given for a job's solver parameter.
constexpr float RefinementOfSolverParameter(float solverParameter)
{
    return solverParameter / SolverParameterPerRefinement;
}

/// The solver parameter a job carries for a refinement factor.
constexpr float SolverParameterOfRefinement(double refinement)
{
    return static_cast<float>(refinement * SolverParameterPerRefinement);
}

#endif // VELA_JOBS_SOLVERPARAMETER_H
